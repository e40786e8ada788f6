// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramOptions.h"

#include "state/ProgramIdentity.h"

#include <QCommandLineParser>

namespace vqdbd::options {

namespace {

// The options QGuiApplication, QApplication and the X11 platform take out of the command line
// (Qt 6 also takes each with two dashes). A few also come as -name=value.
struct QtOption
{
    const char* name;
    bool takesValue;
    bool takesJoinedValue;
};
constexpr QtOption kQtOptions[] = {
    { "platform", true, false },
    { "platformpluginpath", true, false },
    { "platformtheme", true, false },
    { "plugin", true, false },
    { "qwindowgeometry", true, false },
    { "qwindowicon", true, false },
    { "qwindowtitle", true, false },
    { "session", true, false },
    { "style", true, true },
    { "stylesheet", true, true },
    { "qmljsdebugger", true, true },
    { "display", true, false },
    { "geometry", true, false },
    { "title", true, false },
    { "icon", true, false },
    { "name", true, false },
    { "visual", true, false },
    { "reverse", false, false },
    { "widgetcount", false, false },
    { "testability", false, false },
    { "nograb", false, false },
    { "dograb", false, false },
};

// How many arguments from `argument` on make one Qt option: 0 when it is none.
int qtOptionLength(const QString& argument, bool valueFollows)
{
    QString word = argument;
    if (word.startsWith(QLatin1String("--")))
        word.remove(0, 1);
    if (!word.startsWith(QLatin1Char('-')))
        return 0;
    for (const QtOption& option : kQtOptions) {
        const QString dashed = QLatin1Char('-') + QLatin1String(option.name);
        if (word == dashed)
            return option.takesValue && valueFollows ? 2 : 1;
        if (option.takesJoinedValue && word.startsWith(dashed + QLatin1Char('=')))
            return 1;
    }
    return 0;
}

struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help { { QStringLiteral("h"), QStringLiteral("help") },
                              QStringLiteral("Show this help and exit.") };
    QCommandLineOption version { { QStringLiteral("v"), QStringLiteral("version") },
                                 QStringLiteral("Show the version and the licence and exit.") };
    QCommandLineOption autostart { QStringLiteral("autostart"),
                                   QStringLiteral("Start the clock at login (on), under the name it was "
                                                  "started as, or no longer (off); then exit."),
                                   QStringLiteral("on|off") };

    Parser()
    {
        parser.setApplicationDescription(
            QStringLiteral("A digital clock with ten daily alarms; without options it opens the clock."));
        // -foo is one unknown option, not six.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({ help, version, autostart });
    }
};

} // namespace

QStringList withoutQtOptions(const QStringList& arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size();) {
        const int length = i == 0 ? 0 : qtOptionLength(arguments.at(i), i + 1 < arguments.size());
        if (length == 0)
            kept.append(arguments.at(i++));
        i += length;
    }
    return kept;
}

Reading read(const QStringList& arguments)
{
    Parser p;
    if (!p.parser.parse(arguments))
        return { Request::Invalid, p.parser.errorText() };
    if (!p.parser.positionalArguments().isEmpty())
        return { Request::Invalid,
                 QStringLiteral("Unexpected argument '") + p.parser.positionalArguments().constFirst()
                     + QStringLiteral("'.") };
    if (p.parser.isSet(p.help))
        return { Request::Help, {} };
    if (p.parser.isSet(p.version))
        return { Request::Version, {} };
    if (p.parser.isSet(p.autostart)) {
        const QString value = p.parser.value(p.autostart);
        if (value == QLatin1String("on"))
            return { Request::AutostartOn, {} };
        if (value == QLatin1String("off"))
            return { Request::AutostartOff, {} };
        return { Request::Invalid,
                 QStringLiteral("--autostart takes on or off, not '") + value + QStringLiteral("'.") };
    }
    return {};
}

QString usageText(const QString& programName)
{
    Parser p;
    // Qt's own first line names no program without an application object.
    QString options = p.parser.helpText();
    options.remove(0, options.indexOf(QLatin1Char('\n')) + 1);
    return QStringLiteral("Usage: ") + programName + QStringLiteral(" [options] [Qt options]\n") + options
        + QStringLiteral("\nQt's own options, such as -platform NAME and -display DISPLAY, work as well.\n");
}

QString versionText()
{
    return QStringLiteral("vq-dbd (VQ-DRUM-BEAT-DIAL) ") + QLatin1String(identity::kVersion)
        + QStringLiteral(
               "\nCopyright (C) 2026 VELA-QUILL\n"
               "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
               "This is free software: you are free to change and redistribute it.\n"
               "There is NO WARRANTY, to the extent permitted by law.\n");
}

} // namespace vqdbd::options

// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ProgramOptions.h"

#include <QTest>

using namespace vqdbd;
using options::Request;

Q_DECLARE_METATYPE(Request)

class ProgramOptionsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void qtOptionsAreLeftToQt_data();
    void qtOptionsAreLeftToQt();
    void commandLineIsReadAsTheProgramReadsIt_data();
    void commandLineIsReadAsTheProgramReadsIt();
    void usageNamesTheProgramAndFitsATerminal();
    void versionNamesTheLicence();
    void execArgumentFollowsTheDesktopEntryRules_data();
    void execArgumentFollowsTheDesktopEntryRules();
    void autostartEntryStartsTheProgramByItsPath();
    void autostartEntryRefusesAPathItCannotHold_data();
    void autostartEntryRefusesAPathItCannotHold();
};

void ProgramOptionsTest::qtOptionsAreLeftToQt_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("kept");
    const QString program = QStringLiteral("vq-dbd");
    QTest::newRow("none") << QStringList { program } << QStringList { program };
    QTest::newRow("the program's name, whatever it looks like")
        << QStringList { QStringLiteral("-reverse") } << QStringList { QStringLiteral("-reverse") };
    QTest::newRow("platform with its value")
        << QStringList { program, "-platform", "xcb", "--version" } << QStringList { program, "--version" };
    QTest::newRow("two dashes as well")
        << QStringList { program, "--platform", "offscreen" } << QStringList { program };
    QTest::newRow("display and geometry")
        << QStringList { program, "-display", ":1", "-geometry", "10x10+0+0" } << QStringList { program };
    QTest::newRow("style joined and apart")
        << QStringList { program, "-style=fusion", "-stylesheet", "a.qss", "-style", "fusion" }
        << QStringList { program };
    QTest::newRow("switches without value")
        << QStringList { program, "-reverse", "--help", "-nograb", "-widgetcount" }
        << QStringList { program, "--help" };
    QTest::newRow("window name, title, icon and visual")
        << QStringList { program, "-name", "clock", "-qwindowtitle", "a b", "-title",
                         "t",     "-icon", "i.png", "-visual",       "33" }
        << QStringList { program };
    QTest::newRow("a value option at the end")
        << QStringList { program, "--help", "-platform" } << QStringList { program, "--help" };
    QTest::newRow("platform=value is not Qt's")
        << QStringList { program, "-platform=xcb" } << QStringList { program, "-platform=xcb" };
    QTest::newRow("a misspelt option stays")
        << QStringList { program, "-platfrom", "xcb" } << QStringList { program, "-platfrom", "xcb" };
    QTest::newRow("the program's own options stay") << QStringList { program, "--autostart", "on", "-v" }
                                                    << QStringList { program, "--autostart", "on", "-v" };
}

void ProgramOptionsTest::qtOptionsAreLeftToQt()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, kept);
    QCOMPARE(options::withoutQtOptions(arguments), kept);
}

void ProgramOptionsTest::commandLineIsReadAsTheProgramReadsIt_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Request>("request");
    QTest::addColumn<QString>("error");
    QTest::newRow("nothing") << QStringList {} << Request::RunClock << QString();
    QTest::newRow("Qt options only") << QStringList { "-platform", "xcb", "-display", ":0" }
                                     << Request::RunClock << QString();
    QTest::newRow("--help") << QStringList { "--help" } << Request::Help << QString();
    QTest::newRow("-h") << QStringList { "-h" } << Request::Help << QString();
    QTest::newRow("--version") << QStringList { "--version" } << Request::Version << QString();
    QTest::newRow("-v after a Qt option")
        << QStringList { "-platform", "offscreen", "-v" } << Request::Version << QString();
    QTest::newRow("help before version")
        << QStringList { "--version", "--help" } << Request::Help << QString();
    QTest::newRow("autostart on") << QStringList { "--autostart", "on" } << Request::AutostartOn << QString();
    QTest::newRow("autostart=off") << QStringList { "--autostart=off" } << Request::AutostartOff << QString();
    QTest::newRow("the last autostart counts")
        << QStringList { "--autostart", "off", "--autostart", "on" } << Request::AutostartOn << QString();
    QTest::newRow("autostart in capitals") << QStringList { "--autostart", "ON" } << Request::Invalid
                                           << "--autostart takes on or off, not 'ON'.";
    QTest::newRow("autostart without value")
        << QStringList { "--autostart" } << Request::Invalid << "Missing value after '--autostart'.";
    QTest::newRow("unknown option") << QStringList { "--bogus" } << Request::Invalid
                                    << "Unknown option 'bogus'.";
    QTest::newRow("unknown single-dash word is one option")
        << QStringList { "-bogus" } << Request::Invalid << "Unknown option 'bogus'.";
    QTest::newRow("misspelt Qt option")
        << QStringList { "-platfrom", "xcb" } << Request::Invalid << "Unknown option 'platfrom'.";
    QTest::newRow("unknown option beside --help")
        << QStringList { "--help", "--bogus" } << Request::Invalid << "Unknown option 'bogus'.";
    QTest::newRow("an argument") << QStringList { "clock" } << Request::Invalid
                                 << "Unexpected argument 'clock'.";
    QTest::newRow("an option after --")
        << QStringList { "--", "--help" } << Request::Invalid << "Unexpected argument '--help'.";
}

void ProgramOptionsTest::commandLineIsReadAsTheProgramReadsIt()
{
    QFETCH(QStringList, arguments);
    QFETCH(Request, request);
    QFETCH(QString, error);
    arguments.prepend(QStringLiteral("/usr/bin/vq-dbd"));
    const options::Reading reading = options::read(options::withoutQtOptions(arguments));
    QCOMPARE(reading.request, request);
    QCOMPARE(reading.error, error);
}

void ProgramOptionsTest::usageNamesTheProgramAndFitsATerminal()
{
    const QStringList lines = options::usageText(QStringLiteral("deskclock2")).split(QLatin1Char('\n'));
    QCOMPARE(lines.constFirst(), QStringLiteral("Usage: deskclock2 [options] [Qt options]"));
    const QString usage = lines.join(QLatin1Char('\n'));
    for (const char* option : { "-h, --help", "-v, --version", "--autostart <on|off>", "-platform NAME" })
        QVERIFY2(usage.contains(QLatin1String(option)), option);
    for (const QString& line : lines)
        QVERIFY2(line.size() <= 80, qPrintable(line));
}

void ProgramOptionsTest::versionNamesTheLicence()
{
    const QStringList lines = options::versionText().split(QLatin1Char('\n'));
    QVERIFY(lines.constFirst().startsWith(QLatin1String("vq-dbd (VQ-DRUM-BEAT-DIAL) ")));
    QVERIFY(lines.contains(QStringLiteral(
        "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.")));
}

void ProgramOptionsTest::execArgumentFollowsTheDesktopEntryRules_data()
{
    // Expected texts as they stand in the file: quoting first, then the string rules, which double
    // every backslash.
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("argument");
    QTest::newRow("plain") << "/usr/bin/vq-dbd"
                           << "/usr/bin/vq-dbd";
    QTest::newRow("letters beyond ASCII and =") << "/home/zoë/a=b/vq-dbd"
                                                << "/home/zoë/a=b/vq-dbd";
    QTest::newRow("space") << "/home/a b/vq-dbd"
                           << R"("/home/a b/vq-dbd")";
    QTest::newRow("tilde and hash") << "/srv/~me/#1/vq"
                                    << R"("/srv/~me/#1/vq")";
    QTest::newRow("dollar") << "/x/$HOME/vq"
                            << R"("/x/\\$HOME/vq")";
    QTest::newRow("double quote") << R"(/x/"q"/vq)"
                                  << R"("/x/\\"q\\"/vq")";
    QTest::newRow("backtick") << "/x/`id`/vq"
                              << R"("/x/\\`id\\`/vq")";
    QTest::newRow("backslash") << R"(/x\y/vq)"
                               << R"("/x\\\\y/vq")";
    QTest::newRow("single quote and parentheses") << "/x/it's (2)/vq"
                                                  << R"("/x/it's (2)/vq")";
    QTest::newRow("percent") << "/opt/50%/vq"
                             << "/opt/50%%/vq";
    QTest::newRow("percent in quotes") << "/opt/50 %/vq"
                                       << R"("/opt/50 %%/vq")";
}

void ProgramOptionsTest::execArgumentFollowsTheDesktopEntryRules()
{
    QFETCH(QString, path);
    QFETCH(QString, argument);
    QCOMPARE(options::execArgument(path), argument);
}

void ProgramOptionsTest::autostartEntryStartsTheProgramByItsPath()
{
    QCOMPARE(options::autostartEntryText(QStringLiteral("/home/me/my clocks/deskclock2")),
             QStringLiteral("[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=VQ-DRUM-BEAT-DIAL\n"
                            "Comment=Digital clock with ten daily alarms, started at login\n"
                            "Exec=\"/home/me/my clocks/deskclock2\"\n"
                            "Icon=net.vela_quill.vq_dbd\n"
                            "Terminal=false\n"));
}

void ProgramOptionsTest::autostartEntryRefusesAPathItCannotHold_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty") << QString();
    QTest::newRow("line feed") << "/tmp/a\nb/vq-dbd";
    QTest::newRow("carriage return") << "/tmp/a\rb/vq-dbd";
    QTest::newRow("tab") << "/tmp/a\tb/vq-dbd";
    QTest::newRow("delete") << "/tmp/a\x7f/vq-dbd";
}

void ProgramOptionsTest::autostartEntryRefusesAPathItCannotHold()
{
    QFETCH(QString, path);
    QCOMPARE(options::autostartEntryText(path), QString());
}

QTEST_GUILESS_MAIN(ProgramOptionsTest)
#include "tst_program_options.moc"

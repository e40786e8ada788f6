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

QTEST_GUILESS_MAIN(ProgramOptionsTest)
#include "tst_program_options.moc"

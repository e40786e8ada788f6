// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AutostartFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace vqdbd;

class AutostartFileTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void invokedProgramIsFoundAsTheShellFoundIt_data();
    void invokedProgramIsFoundAsTheShellFoundIt();
    void runningProgramIsKnownThroughALink();
    void entryIsWrittenWholeInAFolderMadeForIt();
    void entryReplacesTheOldOneAndLeavesNoOtherFile();
    void writeThatCannotSucceedSaysWhy_data();
    void writeThatCannotSucceedSaysWhy();
    void removalTellsRemovedAbsentAndFailed();
    void execArgumentFollowsTheDesktopEntryRules_data();
    void execArgumentFollowsTheDesktopEntryRules();
    void autostartEntryStartsTheProgramByItsPath();
    void autostartEntryRefusesAPathItCannotHold_data();
    void autostartEntryRefusesAPathItCannotHold();

private:
    void makeProgram(const QString& relativePath, bool executable = true);
    QString at(const QString& relativePath) const { return dir_->filePath(relativePath); }

    std::unique_ptr<QTemporaryDir> dir_;
};

void AutostartFileTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void AutostartFileTest::makeProgram(const QString& relativePath, bool executable)
{
    QVERIFY(QDir().mkpath(QFileInfo(at(relativePath)).absolutePath()));
    QFile file(at(relativePath));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    QVERIFY(file.setPermissions(permissions));
}

void AutostartFileTest::invokedProgramIsFoundAsTheShellFoundIt_data()
{
    // Paths are relative to the test's folder, which holds bin/deskclock2 and a link to it, the
    // text file notes/deskclock2 and "my clocks/vq-dbd"; the working folder is "work".
    QTest::addColumn<QString>("argument0");
    QTest::addColumn<QString>("pathVariable");
    QTest::addColumn<QString>("found");
    QTest::newRow("absolute path") << "@/bin/deskclock2"
                                   << ""
                                   << "bin/deskclock2";
    QTest::newRow("relative path from the working folder") << "../bin/deskclock2"
                                                           << ""
                                                           << "bin/deskclock2";
    QTest::newRow("./ is cleaned away") << "./../bin/./deskclock2"
                                        << ""
                                        << "bin/deskclock2";
    QTest::newRow("bare name found in PATH") << "deskclock2"
                                             << "/nowhere:@/bin"
                                             << "bin/deskclock2";
    QTest::newRow("the first executable in PATH wins") << "deskclock2"
                                                       << "@/notes:@/bin"
                                                       << "bin/deskclock2";
    QTest::newRow("a link keeps its name") << "clock-link"
                                           << "@/bin"
                                           << "bin/clock-link";
    QTest::newRow("a folder with a space") << "vq-dbd"
                                           << "@/my clocks"
                                           << "my clocks/vq-dbd";
    QTest::newRow("empty PATH element is the working folder") << "here"
                                                              << "/nowhere::"
                                                              << "work/here";
    QTest::newRow("bare name not in PATH") << "deskclock2"
                                           << "/nowhere"
                                           << "";
    QTest::newRow("bare name, no PATH") << "deskclock2"
                                        << ""
                                        << "";
    QTest::newRow("path to a file that is no program") << "@/notes/deskclock2"
                                                       << ""
                                                       << "";
    QTest::newRow("path to nothing") << "@/bin/gone"
                                     << ""
                                     << "";
    QTest::newRow("no name at all") << ""
                                    << "@/bin"
                                    << "";
}

void AutostartFileTest::invokedProgramIsFoundAsTheShellFoundIt()
{
    QFETCH(QString, argument0);
    QFETCH(QString, pathVariable);
    QFETCH(QString, found);
    makeProgram(QStringLiteral("bin/deskclock2"));
    makeProgram(QStringLiteral("notes/deskclock2"), false);
    makeProgram(QStringLiteral("my clocks/vq-dbd"));
    makeProgram(QStringLiteral("work/here"));
    QVERIFY(QFile::link(at(QStringLiteral("bin/deskclock2")), at(QStringLiteral("bin/clock-link"))));
    const QString root = dir_->path();
    argument0.replace(QLatin1Char('@'), root);
    pathVariable.replace(QLatin1Char('@'), root);

    const QString path
        = autostart::invokedProgramPath(argument0, pathVariable.toLocal8Bit(), at(QStringLiteral("work")));
    QCOMPARE(path, found.isEmpty() ? QString() : at(found));
}

void AutostartFileTest::runningProgramIsKnownThroughALink()
{
    const QString self = QCoreApplication::applicationFilePath();
    QVERIFY(autostart::isRunningProgram(self));
    QVERIFY(QFile::link(self, at(QStringLiteral("deskclock2"))));
    QVERIFY(autostart::isRunningProgram(at(QStringLiteral("deskclock2"))));
    QVERIFY(QFile::copy(self, at(QStringLiteral("copy"))));
    QVERIFY(!autostart::isRunningProgram(at(QStringLiteral("copy"))));
    QVERIFY(!autostart::isRunningProgram(at(QStringLiteral("gone"))));
}

void AutostartFileTest::entryIsWrittenWholeInAFolderMadeForIt()
{
    const QString entry = at(QStringLiteral("config/autostart/clock.desktop"));
    QCOMPARE(autostart::writeEntry(entry, "[Desktop Entry]\nExec=/bin/clock\n"), QString());
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Desktop Entry]\nExec=/bin/clock\n"));
}

void AutostartFileTest::entryReplacesTheOldOneAndLeavesNoOtherFile()
{
    const QString entry = at(QStringLiteral("autostart/clock.desktop"));
    QCOMPARE(autostart::writeEntry(entry, QByteArray(4096, 'x')), QString());
    QCOMPARE(autostart::writeEntry(entry, "short\n"), QString());
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("short\n"));
    QCOMPARE(QDir(at(QStringLiteral("autostart")))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList { QStringLiteral("clock.desktop") });
}

void AutostartFileTest::writeThatCannotSucceedSaysWhy_data()
{
    QTest::addColumn<QString>("blocker"); // what stands in the way: "file" or "folder" at the path
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("entry");
    QTest::newRow("the autostart folder is a file") << "file"
                                                    << "autostart"
                                                    << "autostart/clock.desktop";
    QTest::newRow("a folder above it is a file") << "file"
                                                 << "config"
                                                 << "config/autostart/clock.desktop";
    QTest::newRow("the entry is a folder") << "folder"
                                           << "autostart/clock.desktop"
                                           << "autostart/clock.desktop";
}

void AutostartFileTest::writeThatCannotSucceedSaysWhy()
{
    QFETCH(QString, blocker);
    QFETCH(QString, blocked);
    QFETCH(QString, entry);
    if (blocker == QLatin1String("file"))
        makeProgram(blocked, false);
    else
        QVERIFY(QDir().mkpath(at(blocked) + QStringLiteral("/inside")));

    const QString problem = autostart::writeEntry(at(entry), "[Desktop Entry]\n");
    QVERIFY2(!problem.isEmpty(), "a write that cannot succeed reported none");
    QCOMPARE(QFileInfo(at(blocked)).isDir(), blocker == QLatin1String("folder"));
}

void AutostartFileTest::removalTellsRemovedAbsentAndFailed()
{
    const QString entry = at(QStringLiteral("autostart/clock.desktop"));
    QString problem;
    QCOMPARE(autostart::removeEntry(entry, problem), autostart::Removal::Absent);
    QCOMPARE(autostart::writeEntry(entry, "[Desktop Entry]\n"), QString());
    QCOMPARE(autostart::removeEntry(entry, problem), autostart::Removal::Removed);
    QVERIFY(!QFileInfo::exists(entry));
    QCOMPARE(autostart::removeEntry(entry, problem), autostart::Removal::Absent);

    // A link to nothing is an entry all the same.
    QVERIFY(QFile::link(at(QStringLiteral("gone")), entry));
    QCOMPARE(autostart::removeEntry(entry, problem), autostart::Removal::Removed);
    QVERIFY(!QFileInfo(entry).isSymLink());

    QVERIFY(QDir().mkpath(entry + QStringLiteral("/inside")));
    QCOMPARE(autostart::removeEntry(entry, problem), autostart::Removal::Failed);
    QCOMPARE(problem, QStringLiteral("it is a folder"));
    QVERIFY(QFileInfo(entry).isDir());
}

void AutostartFileTest::execArgumentFollowsTheDesktopEntryRules_data()
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

void AutostartFileTest::execArgumentFollowsTheDesktopEntryRules()
{
    QFETCH(QString, path);
    QFETCH(QString, argument);
    QCOMPARE(autostart::execArgument(path), argument);
}

void AutostartFileTest::autostartEntryStartsTheProgramByItsPath()
{
    QCOMPARE(autostart::entryText(QStringLiteral("/home/me/my clocks/deskclock2"),
                                  QStringLiteral("net.vela_quill.vq_dbd")),
             QStringLiteral("[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=VQ-DRUM-BEAT-DIAL\n"
                            "Comment=Digital clock with ten daily alarms, started at login\n"
                            "Exec=\"/home/me/my clocks/deskclock2\"\n"
                            "Icon=net.vela_quill.vq_dbd\n"
                            "Terminal=false\n"));
}

void AutostartFileTest::autostartEntryRefusesAPathItCannotHold_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty") << QString();
    QTest::newRow("line feed") << "/tmp/a\nb/vq-dbd";
    QTest::newRow("carriage return") << "/tmp/a\rb/vq-dbd";
    QTest::newRow("tab") << "/tmp/a\tb/vq-dbd";
    QTest::newRow("delete") << "/tmp/a\x7f/vq-dbd";
}

void AutostartFileTest::autostartEntryRefusesAPathItCannotHold()
{
    QFETCH(QString, path);
    QCOMPARE(autostart::entryText(path, QStringLiteral("net.vela_quill.vq_dbd")), QString());
}

QTEST_GUILESS_MAIN(AutostartFileTest)
#include "tst_autostart_file.moc"

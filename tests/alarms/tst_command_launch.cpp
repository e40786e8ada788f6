// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeLauncher.h"
#include "alarms/CommandLaunch.h"
#include "platform/DetachedProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <unistd.h>

using namespace vqdbd;

namespace {

// The fields of /proc/<pid>/stat after the command name: state, parent, group, session, terminal...
QList<QByteArray> statFields(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ');
}

QList<qint64> processes()
{
    QList<qint64> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number)
            pids.append(pid);
    }
    return pids;
}

// The processes whose parent is this test, zombies included.
int childProcesses()
{
    int count = 0;
    for (const qint64 pid : processes()) {
        const QList<QByteArray> fields = statFields(pid);
        if (fields.size() > 1 && fields.at(1).toLongLong() == getpid())
            ++count;
    }
    return count;
}

qint64 processWithArgument(const QString& argument)
{
    for (const qint64 pid : processes()) {
        QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (file.open(QIODevice::ReadOnly) && file.readAll().split('\0').contains(argument.toUtf8()))
            return pid;
    }
    return 0;
}

QStringList linesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestCommandLaunch final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void handsTheSplitLineToTheLauncher();
    void failuresSayWhy_data();
    void failuresSayWhy();
    void realLauncherRefusesWhatCannotStart_data();
    void realLauncherRefusesWhatCannotStart();
    void realLaunchRunsOnceWithoutAShell();
    void hiddenStartHasNoTerminalAndNullStreams();
    void repeatedLaunchesLeaveNoZombie();

private:
    QTemporaryDir home_;
    DetachedProcessLauncher real_;
};

void TestCommandLaunch::initTestCase()
{
    QVERIFY(home_.isValid());
    QFile plain(home_.filePath(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    // Programs start in the home folder, and ~ means it.
    qputenv("HOME", QFile::encodeName(home_.path()));
}

void TestCommandLaunch::handsTheSplitLineToTheLauncher()
{
    test::FakeLauncher launcher;
    const LaunchAttempt launch
        = applyLaunchRule(launcher, 1, 1, QStringLiteral("notify-send 'Tea time' ~/x"));
    QVERIFY(launch.attempted);
    QVERIFY(!launch.failed());
    QCOMPARE(launcher.starts.size(), 1);
    QCOMPARE(launcher.starts.at(0).program, QStringLiteral("notify-send"));
    QCOMPARE(launcher.starts.at(0).arguments, (QStringList { "Tea time", home_.path() + "/x" }));
    QCOMPARE(launcher.starts.at(0).style, WindowStyle::Hidden);
    QVERIFY(!applyLaunchRule(launcher, 0, 1, QStringLiteral("true")).attempted);
    QCOMPARE(launcher.starts.size(), 1);
}

void TestCommandLaunch::failuresSayWhy_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("starts");
    QTest::newRow("launcher refuses") << "xyz --go"
                                      << "xyz is broken"
                                      << "xyz is broken" << 1;
    QTest::newRow("empty line") << ""
                                << ""
                                << "the command line is empty" << 0;
    QTest::newRow("unmatched quote") << "echo 'x"
                                     << ""
                                     << "never closed" << 0;
    QTest::newRow("default text") << "Run Command"
                                  << "not found"
                                  << "still holds its default text" << 1;
}

void TestCommandLaunch::failuresSayWhy()
{
    QFETCH(QString, line);
    QFETCH(QString, refusal);
    QFETCH(QString, reason);
    QFETCH(int, starts);
    test::FakeLauncher launcher;
    launcher.refusal = refusal;
    const LaunchAttempt launch = applyLaunchRule(launcher, 1, 0, line);
    QVERIFY(launch.failed());
    QVERIFY2(launch.problem.contains(reason), qPrintable(launch.problem));
    QCOMPARE(launcher.starts.size(), starts);
    const QString said = launchFailureLine(QStringLiteral("alarm 2"), line, launch.problem);
    QVERIFY(said.startsWith(QStringLiteral("alarm 2: the command line \"") + line + u'"'));
    QVERIFY(said.endsWith(launch.problem));
}

void TestCommandLaunch::realLauncherRefusesWhatCannotStart_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing program") << "vq-dbd-no-such-program --x"
                                     << "no program named \"vq-dbd-no-such-program\"";
    QTest::newRow("missing path") << "/nonexistent/tool"
                                  << "/nonexistent/tool does not exist";
    QTest::newRow("not executable") << "~/plain.txt"
                                    << "plain.txt is not executable";
    QTest::newRow("folder") << "/tmp"
                            << "is a folder";
    QTest::newRow("unmatched quote") << "sh -c 'echo hi"
                                     << "never closed";
}

void TestCommandLaunch::realLauncherRefusesWhatCannotStart()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    const QString problem = launchCommandLine(real_, line, WindowStyle::Hidden);
    QVERIFY2(problem.contains(reason), qPrintable(problem));
}

void TestCommandLaunch::realLaunchRunsOnceWithoutAShell()
{
    // The shell asked for by name does the redirection; ours only splits the words.
    const QString line = QStringLiteral("sh -c 'echo \"$0\" >> ~/log' 'two words'");
    QCOMPARE(launchCommandLine(real_, line, WindowStyle::Normal), QString());
    QTRY_COMPARE(linesOf(home_.filePath(QStringLiteral("log"))), QStringList { "two words" });
}

void TestCommandLaunch::hiddenStartHasNoTerminalAndNullStreams()
{
    // A sleep with an argument no other process has, looked at from outside while it runs.
    const QString marker = QStringLiteral("%1.4242").arg(getpid());
    QCOMPARE(launchCommandLine(real_, QStringLiteral("sleep ") + marker, WindowStyle::Hidden), QString());
    qint64 pid = 0;
    QTRY_VERIFY((pid = processWithArgument(marker)) > 0);
    const QString proc = QStringLiteral("/proc/%1/").arg(pid);
    for (const char* fd : { "fd/0", "fd/1", "fd/2" })
        QCOMPARE(QFile::symLinkTarget(proc + QLatin1String(fd)), QStringLiteral("/dev/null"));
    QCOMPARE(QFile::symLinkTarget(proc + QStringLiteral("cwd")), QDir(home_.path()).canonicalPath());
    // None of the clock's own files is handed on.
    QCOMPARE(
        QDir(proc + QStringLiteral("fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
        (QStringList { "0", "1", "2" }));
    const QList<QByteArray> stat = statFields(pid);
    QVERIFY(stat.size() > 5);
    QCOMPARE(stat.at(3).toLongLong(), pid); // a session of its own
    QVERIFY(stat.at(2).toLongLong() != getpgid(0)); // out of the clock's process group
    QCOMPARE(stat.at(4).toLongLong(), 0); // and no terminal
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    // Once it has ended it is reaped at once: no zombie stays behind.
    QTRY_VERIFY(statFields(pid).isEmpty());
}

void TestCommandLaunch::repeatedLaunchesLeaveNoZombie()
{
    for (int i = 0; i < 25; ++i)
        QCOMPARE(launchCommandLine(real_, QStringLiteral("true"),
                                   i % 2 ? WindowStyle::Hidden : WindowStyle::Normal),
                 QString());
    // Each is reaped as it ends.
    QTRY_COMPARE_WITH_TIMEOUT(childProcesses(), 0, 2000);
}

QTEST_GUILESS_MAIN(TestCommandLaunch)
#include "tst_command_launch.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeLauncher.h"
#include "alarms/CommandEnding.h"
#include "alarms/CommandLaunch.h"
#include "platform/DetachedProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/wait.h>
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

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// While it lives, this test's standard error is a file, as the terminal a clock was started from.
class CapturedErrors
{
public:
    explicit CapturedErrors(const QString& path)
        : saved_(::dup(STDERR_FILENO))
    {
        const int file
            = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(file, STDERR_FILENO);
        ::close(file);
    }
    ~CapturedErrors()
    {
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;

private:
    int saved_;
};

QString endingText(const ProcessEnding& ending)
{
    return ending.signal != 0 ? ending.signalName : QStringLiteral("exit %1").arg(ending.exitStatus);
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
    void aFailedEndingIsOneLine_data();
    void aFailedEndingIsOneLine();
    void theLastErrorLineIsSafeText_data();
    void theLastErrorLineIsSafeText();
    void realLauncherRefusesWhatCannotStart_data();
    void realLauncherRefusesWhatCannotStart();
    void realLaunchRunsOnceWithoutAShell();
    void hiddenStartHasNoTerminalAndNullStreams();
    void repeatedLaunchesLeaveNoZombie();
    void realLauncherTellsHowACommandEnded_data();
    void realLauncherTellsHowACommandEnded();
    void aCommandOutlivingTheLauncherRunsOn_data();
    void aCommandOutlivingTheLauncherRunsOn();

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

void TestCommandLaunch::aFailedEndingIsOneLine_data()
{
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("signalName");
    QTest::addColumn<QByteArray>("errorTail");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<QString>("line");
    const QString alarm = QStringLiteral("alarm 3 (\"Backup\", fired Tue 5 Mar 07:30:00): the command line "
                                         "\"backup --now\" ");
    QTest::newRow("exit 0: nothing said") << 0 << 0 << "" << QByteArray("all done\n") << false << "";
    QTest::newRow("exit 1") << 1 << 0 << "" << QByteArray("copying\ndisk full\n") << false
                            << alarm + "ended with exit status 1; its last error line: disk full";
    QTest::newRow("exit 127, silent") << 127 << 0 << "" << QByteArray() << false
                                      << alarm
            + "ended with exit status 127; it wrote nothing to its "
              "standard error";
    QTest::newRow("SIGKILL") << 0 << 9 << "SIGKILL" << QByteArray("half way\n") << false
                             << alarm + "was ended by SIGKILL; its last error line: half way";
    QTest::newRow("signal without a name") << 0 << 40 << "" << QByteArray() << false
                                           << alarm
            + "was ended by signal 40; it wrote nothing to its "
              "standard error";
    QTest::newRow("RUN NOW") << 2 << 0 << "" << QByteArray("usage: backup\n") << true
                             << "RUN NOW of alarm 3 (\"Backup\", pressed Tue 5 Mar 07:30:00): the command "
                                "line \"backup --now\" ended with exit status 2; its last error line: "
                                "usage: backup";
}

void TestCommandLaunch::aFailedEndingIsOneLine()
{
    QFETCH(int, exitStatus);
    QFETCH(int, signal);
    QFETCH(QString, signalName);
    QFETCH(QByteArray, errorTail);
    QFETCH(bool, pressed);
    QFETCH(QString, line);
    ProcessEnding ending;
    ending.exitStatus = exitStatus;
    ending.signal = signal;
    ending.signalName = signalName;
    ending.errorTail = errorTail;
    const CommandRequest request { pressed ? QStringLiteral("RUN NOW of alarm 3") : QStringLiteral("alarm 3"),
                                   QStringLiteral("Backup"), QStringLiteral("backup --now"),
                                   QStringLiteral("Tue 5 Mar 07:30:00"), pressed };
    QCOMPARE(commandEndingLine(request, ending), line);
}

void TestCommandLaunch::theLastErrorLineIsSafeText_data()
{
    QTest::addColumn<QByteArray>("errorTail");
    QTest::addColumn<QString>("line");
    QTest::newRow("nothing") << QByteArray() << "";
    QTest::newRow("only blanks") << QByteArray(" \n\t\n") << "";
    QTest::newRow("the last of several") << QByteArray("one\ntwo\n") << "two";
    QTest::newRow("blank lines after it") << QByteArray("real error\n\n  \r\n") << "real error";
    QTest::newRow("no final line feed") << QByteArray("a\npartial") << "partial";
    QTest::newRow("progress over carriage returns")
        << QByteArray("10%\r50%\rfailed at 50%\r\n") << "failed at 50%";
    QTest::newRow("UTF-8 kept") << QByteArray("Datei \xe2\x80\x9e\xc3\xa4\xe2\x80\x9c fehlt")
                                << QString::fromUtf8("Datei \xe2\x80\x9e\xc3\xa4\xe2\x80\x9c fehlt");
    QTest::newRow("invalid UTF-8") << QByteArray("bad \xff byte") << QString::fromUtf8("bad \uFFFD byte");
    QTest::newRow("colours dropped") << QByteArray("\x1b[1;31merror:\x1b[0m no space") << "error: no space";
    QTest::newRow("title dropped") << QByteArray("\x1b]0;title\x07"
                                                 "done badly")
                                   << "done badly";
    QTest::newRow("controls made safe") << QByteArray("a\tb\x07"
                                                      "c\x1b\x7f d")
                                        << QString::fromUtf8("a b\uFFFDc\uFFFD\uFFFD d");
    QTest::newRow("C1 control") << QByteArray("x\xc2\x9by") << QString::fromUtf8("x\uFFFDy");
    QTest::newRow("bidirectional override")
        << QByteArray("file \xe2\x80\xaetxt.exe") << QString::fromUtf8("file \uFFFDtxt.exe");
    QTest::newRow("200 characters kept whole") << QByteArray(200, 'x') << QString(200, u'x');
    QTest::newRow("longer cut to 200") << QByteArray(300, 'x') << QString(199, u'x') + u'…';
    QTest::newRow("cut before a pair")
        << QByteArray(198, 'x') + QByteArray("\xf0\x9f\x94\x94 tail") << QString(198, u'x') + u'…';
}

void TestCommandLaunch::theLastErrorLineIsSafeText()
{
    QFETCH(QByteArray, errorTail);
    QFETCH(QString, line);
    QCOMPARE(lastErrorLine(errorTail), line);
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
    for (const char* fd : { "fd/0", "fd/1" })
        QCOMPARE(QFile::symLinkTarget(proc + QLatin1String(fd)), QStringLiteral("/dev/null"));
    // Its errors go to the clock alone, for the report of how it ended.
    QVERIFY(QFile::symLinkTarget(proc + QStringLiteral("fd/2")).contains(QStringLiteral("pipe:[")));
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

void TestCommandLaunch::realLauncherTellsHowACommandEnded_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<WindowStyle>("style");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("lastLine"); // a pattern
    QTest::addColumn<QByteArray>("errorTail"); // null: not looked at
    QTest::addColumn<QByteArray>("passedOn"); // what the clock's own standard error got
    QTest::newRow("exit 0") << "sh -c 'echo fine >&2'" << WindowStyle::Hidden << "exit 0"
                            << "^fine$" << QByteArray("fine\n") << QByteArray("");
    QTest::newRow("exit 1") << "sh -c 'echo \"it broke\" >&2; exit 1'" << WindowStyle::Normal << "exit 1"
                            << "^it broke$" << QByteArray("it broke\n") << QByteArray("it broke\n");
    QTest::newRow("exit 127 inside sh -c")
        << "sh -c vq-dbd-no-such-program" << WindowStyle::Hidden << "exit 127"
        << "vq-dbd-no-such-program.*not found$" << QByteArray() << QByteArray("");
    QTest::newRow("killed by SIGKILL")
        << "sh -c 'echo dying >&2; kill -KILL $$'" << WindowStyle::Hidden << "SIGKILL"
        << "^dying$" << QByteArray("dying\n") << QByteArray("");
    // Passed on whole, but only its end kept.
    const QByteArray megabyte = QByteArray("0123456789abcde\n").repeated(65536) + "the last line\n";
    QTest::newRow("a megabyte of errors")
        << "sh -c 'yes 0123456789abcde | head -c 1048576 >&2; echo the last line >&2; exit 4'"
        << WindowStyle::Normal << "exit 4"
        << "^the last line$" << megabyte.right(ProcessEnding::kErrorTailBytes) << megabyte;
}

void TestCommandLaunch::realLauncherTellsHowACommandEnded()
{
    QFETCH(QString, line);
    QFETCH(WindowStyle, style);
    QFETCH(QString, ending);
    QFETCH(QString, lastLine);
    QFETCH(QByteArray, errorTail);
    QFETCH(QByteArray, passedOn);
    const QString errors = home_.filePath(QStringLiteral("clock-errors"));
    const CapturedErrors captured(errors);
    std::optional<ProcessEnding> ended;
    int heard = 0;
    const auto before = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    QCOMPARE(launchCommandLine(real_, line, style,
                               [&](const ProcessEnding& how) {
                                   ended = how;
                                   ++heard;
                               }),
             QString());
    QTRY_VERIFY(ended);
    QCOMPARE(heard, 1);
    QCOMPARE(endingText(*ended), ending);
    QVERIFY(ended->started >= before
            && ended->started <= std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
    QVERIFY(ended->errorTail.size() <= ProcessEnding::kErrorTailBytes);
    if (!errorTail.isNull())
        QCOMPARE(ended->errorTail, errorTail);
    const QString said = lastErrorLine(ended->errorTail);
    QVERIFY2(QRegularExpression(lastLine).match(said).hasMatch(), qPrintable(said));
    // Nothing is said of a command that succeeded.
    QCOMPARE(commandEndingLine({ QStringLiteral("alarm 1"), {}, line, {}, false }, *ended).isEmpty(),
             ending == u"exit 0");
    QTRY_COMPARE(contentOf(errors).size(), passedOn.size());
    QCOMPARE(contentOf(errors), passedOn);
}

void TestCommandLaunch::aCommandOutlivingTheLauncherRunsOn_data()
{
    QTest::addColumn<WindowStyle>("style");
    QTest::newRow("hidden") << WindowStyle::Hidden;
    QTest::newRow("normal") << WindowStyle::Normal;
}

void TestCommandLaunch::aCommandOutlivingTheLauncherRunsOn()
{
    QFETCH(WindowStyle, style);
    const QString errors = home_.filePath(QStringLiteral("clock-errors"));
    const QString go = home_.filePath(QStringLiteral("go"));
    const QString after = home_.filePath(QStringLiteral("after"));
    QFile::remove(go);
    QFile::remove(after);
    const CapturedErrors captured(errors);
    const QString marker = QStringLiteral("outlives-%1").arg(getpid());
    bool heard = false;
    qint64 pid = 0;
    {
        DetachedProcessLauncher launcher;
        const QString line
            = QStringLiteral("sh -c 'echo early >&2; while [ ! -e ~/go ]; do sleep 0.01; done; "
                             "echo late >&2; echo survived > ~/after' ")
            + marker;
        QCOMPARE(launchCommandLine(launcher, line, style, [&](const ProcessEnding&) { heard = true; }),
                 QString());
        QTRY_VERIFY((pid = processWithArgument(marker)) > 0);
    }
    // The launcher is gone, as at the clock's end; the command writes to its errors again after that.
    QFile(go).open(QIODevice::WriteOnly);
    QTRY_COMPARE(linesOf(after), QStringList { "survived" });
    // No longer watched by a launcher, it is this test's to reap: it ended by itself, not by SIGPIPE.
    int status = 0;
    QCOMPARE(::waitpid(static_cast<pid_t>(pid), &status, 0), static_cast<pid_t>(pid));
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(QString::number(status)));
    QVERIFY(!heard);
    // A normal command's errors still reach the clock's standard error, those after its end too.
    const QByteArray expected = style == WindowStyle::Normal ? QByteArray("early\nlate\n") : QByteArray();
    QTRY_COMPARE(contentOf(errors), expected);
}

QTEST_GUILESS_MAIN(TestCommandLaunch)
#include "tst_command_launch.moc"

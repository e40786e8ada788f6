// SPDX-License-Identifier: GPL-3.0-or-later
// RUN NOW with real processes: fifty clicks start fifty programs and leave no zombie; programs that
// end at once, never end, or print megabytes leave the window responsive; no shell ever sees the text.
#include "FakeWindowManager.h"
#include "MemorySettingsBackend.h"
#include "RecordingNotice.h"
#include "Timing.h"
#include "notify/AlarmNotificationWindow.h"
#include "platform/DetachedProcessLauncher.h"
#include "state/LiveState.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace vqdbd;

namespace {

QList<QByteArray> statFields(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = file.readAll();
    return stat.mid(stat.lastIndexOf(')') + 2).split(' ');
}

// The children of this test still in the process table, zombies included.
QList<qint64> childProcesses()
{
    QList<qint64> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number) {
            const QList<QByteArray> fields = statFields(pid);
            if (fields.size() > 1 && fields.at(1).toLongLong() == getpid())
                found.append(pid);
        }
    }
    return found;
}

// The longest the event loop was kept from running over a stretch of time.
qint64 longestStallMs(int milliseconds)
{
    QElapsedTimer total;
    total.start();
    qint64 longest = 0;
    while (total.elapsed() < milliseconds) {
        QElapsedTimer one;
        one.start();
        QTest::qWait(5);
        longest = std::max(longest, one.elapsed() - 5);
    }
    return longest;
}

} // namespace

class RunNowLoadTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void fiftyClicksStartFiftyProgramsAndLeaveNoZombie();
    void programsThatLingerOrFloodLeaveTheWindowResponsive();
    void theCommandTextNeverReachesAShell_data();
    void theCommandTextNeverReachesAShell();

private:
    void clickRunNow(const QString& commandLine, int hidden, int times = 1);

    std::unique_ptr<test::MemorySettingsBackend> backend_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<LiveState> state_;
    test::FakeWindowManager windows_;
    DetachedProcessLauncher launcher_;
    test::RecordingNotice notice_;
    const TimeTextFormat timeFormat_ { "C" };
    QTemporaryDir dir_;
};

void RunNowLoadTest::init()
{
    backend_ = std::make_unique<test::MemorySettingsBackend>();
    store_ = std::make_unique<SettingsStore>(*backend_);
    state_ = std::make_unique<LiveState>();
    notice_.texts.clear();
}

void RunNowLoadTest::cleanup()
{
    QTRY_COMPARE_WITH_TIMEOUT(childProcesses().size(), 0, 5000);
}

void RunNowLoadTest::clickRunNow(const QString& commandLine, int hidden, int times)
{
    AlarmSlot& slot = state_->slot(4);
    slot.runCommand = 1;
    slot.runHidden = hidden;
    slot.command = commandLine;
    QWidget owner;
    AlarmNotificationWindow* window = AlarmNotificationWindow::showOver(
        { *store_, *state_, windows_, timeFormat_, launcher_, notice_ }, 4, &owner);
    auto* runNow = window->findChild<QPushButton*>(QStringLiteral("RUN_NOW_BUTTON"));
    QVERIFY(runNow && runNow->isEnabled());
    for (int i = 0; i < times; ++i)
        runNow->click();
    window->close();
}

void RunNowLoadTest::fiftyClicksStartFiftyProgramsAndLeaveNoZombie()
{
    const QString log = dir_.filePath(QStringLiteral("started.log"));
    clickRunNow(QStringLiteral("sh -c 'echo started >> %1'").arg(log), 1, 50);
    QTRY_COMPARE_WITH_TIMEOUT(QFile(log).size(), qint64(50 * 8), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(childProcesses().size(), 0, 5000);
    QVERIFY(notice_.texts.isEmpty());
}

void RunNowLoadTest::programsThatLingerOrFloodLeaveTheWindowResponsive()
{
    // A program printing megabytes in a normal window writes to the clock's own output: point that
    // at /dev/null for the test so the log stays readable.
    const int savedOut = ::dup(STDOUT_FILENO);
    const int devNull = ::open("/dev/null", O_WRONLY);
    ::dup2(devNull, STDOUT_FILENO);
    clickRunNow(QStringLiteral("sleep 597.25"), 1);
    clickRunNow(QStringLiteral("head -c 50000000 /dev/zero"), 0);
    clickRunNow(QStringLiteral("head -c 50000000 /dev/zero"), 1);
    clickRunNow(QStringLiteral("true"), 1, 10);
    ::dup2(savedOut, STDOUT_FILENO);
    ::close(savedOut);
    ::close(devNull);

    const qint64 stall = longestStallMs(1500);
    TIMING_VERIFY2(stall < 250, qPrintable(QStringLiteral("the event loop stalled %1 ms").arg(stall)));
    // The lingering one is still running, on its own; end it for the test.
    const QList<qint64> running = childProcesses();
    QCOMPARE(running.size(), 1);
    ::kill(static_cast<pid_t>(running.first()), SIGTERM);
}

void RunNowLoadTest::theCommandTextNeverReachesAShell_data()
{
    QTest::addColumn<QString>("command"); // %1: a marker file a shell would create
    QTest::newRow("substitution") << "echo $(touch %1)";
    QTest::newRow("backquotes") << "echo `touch %1`";
    QTest::newRow("sequence") << "true; touch %1";
    QTest::newRow("and") << "true && touch %1";
    QTest::newRow("pipe") << "echo | touch %1";
    QTest::newRow("redirect") << "echo > %1";
    QTest::newRow("background") << "touch %1 &";
}

void RunNowLoadTest::theCommandTextNeverReachesAShell()
{
    QFETCH(QString, command);
    const QString marker = dir_.filePath(QStringLiteral("shell-was-here"));
    QFile::remove(marker);
    clickRunNow(command.arg(marker), 1);
    // A started program stays in the process table until the launcher reaps it, after this returns.
    QVERIFY(childProcesses().isEmpty());
    QVERIFY(!QFile::exists(marker));
    QCOMPARE(notice_.texts.size(), 1); // refused, and the user is told why
}

QTEST_MAIN(RunNowLoadTest)
#include "tst_run_now_load.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeLauncher.h"
#include "FakeWakeTimer.h"
#include "RecordingNotice.h"
#include "TestLocales.h"
#include "alarms/AlarmEngine.h"
#include "alarms/AlarmWindows.h"
#include "state/Captions.h"
#include "state/LiveState.h"

#include <QSignalSpy>
#include <QTest>
#include <QTime>
#include <ctime>

using namespace vqdbd;

namespace {

// Records which windows open, and how many commands had started by then.
class FakeAlarmWindows final : public AlarmWindows
{
public:
    explicit FakeAlarmWindows(const test::FakeLauncher& launcher)
        : launcher_(launcher)
    { }
    bool isWindowOpen(int slot) const override { return open.contains(slot); }
    void openWindow(int slot) override
    {
        opened.append(slot);
        startsBeforeOpening.append(static_cast<int>(launcher_.starts.size()));
        if (keepOpen)
            open.insert(slot);
    }
    void showFiredAgain(int slot, const QString& firedAt) override
    {
        firedAgain.append(QStringLiteral("%1 %2").arg(slot).arg(firedAt));
    }
    QList<int> opened;
    QStringList firedAgain; // "slot when"
    QList<int> startsBeforeOpening;
    QSet<int> open;
    bool keepOpen = false; // otherwise each window is closed again by the next second

private:
    const test::FakeLauncher& launcher_;
};

// Local seconds of 2024-03-04 00:00 counted from 1970-01-01 00:00; the engine sees local time only.
qint64 dayStart()
{
    std::tm day {};
    day.tm_year = 124;
    day.tm_mon = 2;
    day.tm_mday = 4;
    return static_cast<qint64>(timegm(&day));
}

qint64 at(int hour, int minute, int second, int dayOffset = 0)
{
    return dayStart() + dayOffset * 86400 + hour * 3600 + minute * 60 + second;
}

} // namespace

class TestAlarmEngine final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void firesOnceAtItsSecondWithCommandBeforeWindow();
    void comparesTheTimeTextExactly_data();
    void comparesTheTimeTextExactly();
    void aLateTickMakesUpThePassedSecond_data();
    void aLateTickMakesUpThePassedSecond();
    void twoChecksInOneSecondFireOnce();
    void aClockSetBackDoesNotFireAgainThatDay();
    void firesAgainTheNextDay();
    void aLongJumpForwardSaysWhichAlarmWasPassedOver();
    void alarmsPassedOverGoToTheDesktopWithNameAndTime_data();
    void alarmsPassedOverGoToTheDesktopWithNameAndTime();
    void aStoppedCheckNeverFires();
    void slotsDueTogetherFireInSlotOrder();
    void aFailedCommandIsReportedAndTheWindowStillOpens();
    void aSlotWhoseWindowIsStillOpenRunsItsCommandAndShowsThatWindowAgain_data();
    void aSlotWhoseWindowIsStillOpenRunsItsCommandAndShowsThatWindowAgain();
    void onlyAlarmsThatDidNotFireThatDayAreReportedMissed_data();
    void onlyAlarmsThatDidNotFireThatDayAreReportedMissed();
    void showMessageOtherThanOneOpensNoWindow();
    void inEveryLocaleHHmmssAndTheClocksOwnTextFireOnceADay_data();
    void inEveryLocaleHHmmssAndTheClocksOwnTextFireOnceADay();

private:
    void show(qint64 localSecond);
    void arm(int slot, const QString& time);

    std::unique_ptr<LiveState> state_;
    std::unique_ptr<test::FakeLauncher> launcher_;
    std::unique_ptr<FakeAlarmWindows> windows_;
    std::unique_ptr<TimeTextFormat> format_;
    std::unique_ptr<test::RecordingNotice> notice_;
    std::unique_ptr<test::RecordingNotice> desktop_;
    test::FakeWakeTimer wakeTimer_;
    std::unique_ptr<AlarmEngine> engine_;
};

void TestAlarmEngine::init()
{
    state_ = std::make_unique<LiveState>();
    launcher_ = std::make_unique<test::FakeLauncher>();
    windows_ = std::make_unique<FakeAlarmWindows>(*launcher_);
    format_ = std::make_unique<TimeTextFormat>("C");
    notice_ = std::make_unique<test::RecordingNotice>();
    desktop_ = std::make_unique<test::RecordingNotice>();
    engine_ = std::make_unique<AlarmEngine>(*state_, *launcher_, *format_, *windows_, *notice_, *desktop_,
                                            wakeTimer_);
}

void TestAlarmEngine::show(qint64 localSecond)
{
    WallSecond second;
    second.utcSecond = localSecond;
    second.localSecond = localSecond;
    second.local = localTimeOf(localSecond);
    engine_->onSecondShown(second, format_->format(second.local));
}

void TestAlarmEngine::arm(int slot, const QString& time)
{
    AlarmSlot& alarm = state_->slot(slot);
    alarm.enabled = 1;
    alarm.time = time;
    alarm.showMessage = 1;
    alarm.runCommand = 1;
    alarm.runHidden = 0;
    alarm.command = QStringLiteral("notify-send tea");
    state_->masterSwitch = 1;
}

void TestAlarmEngine::firesOnceAtItsSecondWithCommandBeforeWindow()
{
    arm(3, QStringLiteral("07:30:00"));
    QSignalSpy fired(engine_.get(), &AlarmEngine::fired);
    for (qint64 second = at(7, 29, 58); second <= at(7, 30, 3); ++second)
        show(second);
    QCOMPARE(fired.size(), 1);
    QCOMPARE(fired.at(0), (QVariantList { 3, QStringLiteral("07:30:00") }));
    QCOMPARE(launcher_->starts.size(), 1);
    QCOMPARE(launcher_->starts.at(0).style, WindowStyle::Normal);
    QCOMPARE(windows_->opened, QList<int> { 3 });
    QCOMPARE(windows_->startsBeforeOpening, QList<int> { 1 });
}

void TestAlarmEngine::comparesTheTimeTextExactly_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("fires");
    QTest::newRow("same text") << "07:30:00" << true;
    QTest::newRow("no leading zero") << "7:30:00" << false;
    QTest::newRow("trailing blank") << "07:30:00 " << false;
    QTest::newRow("no seconds") << "07:30" << false;
    QTest::newRow("not a time") << "Tea" << false;
}

void TestAlarmEngine::comparesTheTimeTextExactly()
{
    QFETCH(QString, time);
    QFETCH(bool, fires);
    arm(1, time);
    for (qint64 second = at(7, 29, 59); second <= at(7, 30, 1); ++second)
        show(second);
    QCOMPARE(windows_->opened.size(), fires ? 1 : 0);
}

void TestAlarmEngine::aLateTickMakesUpThePassedSecond_data()
{
    QTest::addColumn<int>("passedOver");
    QTest::newRow("1.4 s late: one second passed over") << 1;
    QTest::newRow("a minute passed over") << 60;
}

void TestAlarmEngine::aLateTickMakesUpThePassedSecond()
{
    QFETCH(int, passedOver);
    arm(2, QStringLiteral("07:30:00"));
    show(at(7, 29, 59));
    // The display goes from 07:29:59 straight past 07:30:00.
    show(at(7, 29, 59) + passedOver + 1);
    show(at(7, 29, 59) + passedOver + 2);
    QCOMPARE(windows_->opened, QList<int> { 2 });
    QCOMPARE(launcher_->starts.size(), 1);
    QVERIFY(notice_->texts.isEmpty());
}

void TestAlarmEngine::twoChecksInOneSecondFireOnce()
{
    arm(1, QStringLiteral("07:30:00"));
    show(at(7, 29, 59));
    show(at(7, 30, 0));
    show(at(7, 30, 0));
    QCOMPARE(windows_->opened.size(), 1);
    QCOMPARE(launcher_->starts.size(), 1);
}

void TestAlarmEngine::aClockSetBackDoesNotFireAgainThatDay()
{
    arm(1, QStringLiteral("07:30:00"));
    show(at(7, 30, 0));
    show(at(7, 30, 5));
    // Set back by hand, or a daylight-saving hour lived twice: the same texts come round again.
    for (qint64 second = at(7, 29, 0); second <= at(7, 30, 5); ++second)
        show(second);
    show(at(7, 30, 0) - 3600);
    for (qint64 second = at(6, 30, 0); second <= at(7, 30, 5); second += 7)
        show(second);
    QCOMPARE(windows_->opened.size(), 1);
    QCOMPARE(launcher_->starts.size(), 1);
}

void TestAlarmEngine::firesAgainTheNextDay()
{
    arm(1, QStringLiteral("00:00:00"));
    state_->slot(1).showMessage = 0;
    for (int day = 0; day < 3; ++day) {
        show(at(23, 59, 59, day - 1));
        show(at(0, 0, 0, day));
    }
    QCOMPARE(launcher_->starts.size(), 3);
}

void TestAlarmEngine::aLongJumpForwardSaysWhichAlarmWasPassedOver()
{
    arm(4, QStringLiteral("07:30:00"));
    arm(5, QStringLiteral("09:00:00"));
    show(at(7, 0, 0));
    show(at(8, 0, 0));
    QVERIFY(windows_->opened.isEmpty());
    QCOMPARE(notice_->texts.size(), 1);
    QVERIFY2(
        notice_->texts.at(0).startsWith(QStringLiteral("alarm 4 (\"Alarm Name\" at 07:30:00) did not fire")),
        qPrintable(notice_->texts.at(0)));
    QVERIFY(notice_->texts.at(0).contains(QStringLiteral("from 07:00:00 to 08:00:00")));
    // The user hears the same, where the user looks.
    QCOMPARE(notice_->titles, QStringList { QStringLiteral("VQ-DBD - V3 - ALARM MISSED") });
    // The second it lands on is still looked at.
    show(at(8, 59, 0));
    QCOMPARE(notice_->texts.size(), 1);
    show(at(9, 0, 0));
    QCOMPARE(windows_->opened, QList<int> { 5 });
}

void TestAlarmEngine::alarmsPassedOverGoToTheDesktopWithNameAndTime_data()
{
    QTest::addColumn<QStringList>("alarms"); // "slot|name|time", and "|stopped" for a check not running
    QTest::addColumn<QStringList>("shown"); // the seconds the clock shows, in order
    QTest::addColumn<QStringList>("sent"); // the summaries sent to the desktop
    QTest::addColumn<QString>("unwoken"); // why the computer cannot be woken, if it cannot
    const QStringList tea { QStringLiteral("4|Tea|07:30:00") };
    QTest::newRow("one passed over") << tea << QStringList { "07:00:00", "08:00:00" }
                                     << QStringList { "Missed alarm: Tea at 07:30:00" } << QString();
    QTest::newRow("one passed over where the computer cannot be woken")
        << tea << QStringList { "07:00:00", "08:00:00" } << QStringList { "Missed alarm: Tea at 07:30:00" }
        << QStringLiteral("the system has no wake-up timer (Invalid argument)");
    QTest::newRow("several passed over, in slot order")
        << QStringList { "9|Stand-up|07:45:00", "2|Pills|07:10:00", "5|Lunch|12:30:00" }
        << QStringList { "07:00:00", "08:00:00" }
        << QStringList { "Missed alarm: Pills at 07:10:00", "Missed alarm: Stand-up at 07:45:00" }
        << QString();
    QTest::newRow("a minute passed over is made up")
        << tea << QStringList { "07:29:30", "07:30:30" } << QStringList() << QString();
    QTest::newRow("a check not running")
        << QStringList { "4|Tea|07:30:00|stopped" } << QStringList { "07:00:00", "08:00:00" } << QStringList()
        << QString();
    QTest::newRow("the jump lands on its second: it fires")
        << tea << QStringList { "07:00:00", "07:30:00" } << QStringList() << QString();
}

void TestAlarmEngine::alarmsPassedOverGoToTheDesktopWithNameAndTime()
{
    QFETCH(QStringList, alarms);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, sent);
    QFETCH(QString, unwoken);
    wakeTimer_.refusal = unwoken;
    for (const QString& alarm : std::as_const(alarms)) {
        const QStringList fields = alarm.split(u'|');
        const int slot = fields.at(0).toInt();
        arm(slot, fields.at(2));
        state_->slot(slot).name = fields.at(1);
        state_->slot(slot).enabled = fields.size() < 4 ? 1 : 0;
    }
    for (const QString& time : std::as_const(shown)) {
        const QTime shownTime = QTime::fromString(time, QStringLiteral("HH:mm:ss"));
        show(at(shownTime.hour(), shownTime.minute(), shownTime.second()));
    }
    QCOMPARE(desktop_->titles, sent);
    // The desktop gets the same words as standard error and the notices window.
    QCOMPARE(desktop_->texts, notice_->texts.filter(QStringLiteral("did not fire")));
    QCOMPARE(desktop_->texts.size(), sent.size());
    for (const QString& body : std::as_const(desktop_->texts))
        QCOMPARE(
            body.endsWith(QStringLiteral("; if the computer slept, it could not be woken for the alarm: ")
                          + unwoken),
            !unwoken.isEmpty());
}

void TestAlarmEngine::aStoppedCheckNeverFires()
{
    arm(6, QStringLiteral("07:30:00"));
    state_->masterSwitch = 0;
    show(at(7, 29, 59));
    show(at(7, 30, 0));
    QVERIFY(windows_->opened.isEmpty());
    QVERIFY(launcher_->starts.isEmpty());
}

void TestAlarmEngine::slotsDueTogetherFireInSlotOrder()
{
    arm(9, QStringLiteral("07:30:00"));
    arm(2, QStringLiteral("07:30:00"));
    state_->slot(2).runHidden = 1;
    show(at(7, 29, 59));
    show(at(7, 30, 0));
    QCOMPARE(windows_->opened, (QList<int> { 2, 9 }));
    QCOMPARE(windows_->startsBeforeOpening, (QList<int> { 1, 2 }));
    QCOMPARE(launcher_->starts.at(0).style, WindowStyle::Hidden);
}

void TestAlarmEngine::aFailedCommandIsReportedAndTheWindowStillOpens()
{
    arm(7, QStringLiteral("07:30:00"));
    state_->slot(7).command = QStringLiteral("sh -c 'oops");
    show(at(7, 30, 0));
    QCOMPARE(notice_->titles, QStringList { captions::commandNotStarted() });
    const QString line = notice_->texts.at(0);
    QVERIFY2(line.contains(QStringLiteral("alarm 7")) && line.contains(QStringLiteral("sh -c 'oops"))
                 && line.contains(QStringLiteral("never closed")),
             qPrintable(line));
    QCOMPARE(windows_->opened, QList<int> { 7 });
}

void TestAlarmEngine::aSlotWhoseWindowIsStillOpenRunsItsCommandAndShowsThatWindowAgain_data()
{
    QTest::addColumn<int>("showMessage");
    QTest::addColumn<int>("runCommand");
    QTest::addColumn<int>("starts");
    QTest::addColumn<QStringList>("firedAgain");
    const QStringList shown { QStringLiteral("8 Tue 5 Mar 07:30:00") };
    QTest::newRow("command and window") << 1 << 1 << 2 << shown;
    QTest::newRow("window only") << 1 << 0 << 0 << shown;
    QTest::newRow("window no longer wanted: command only") << 0 << 1 << 2 << QStringList();
}

void TestAlarmEngine::aSlotWhoseWindowIsStillOpenRunsItsCommandAndShowsThatWindowAgain()
{
    QFETCH(int, showMessage);
    QFETCH(int, runCommand);
    QFETCH(int, starts);
    QFETCH(QStringList, firedAgain);
    arm(8, QStringLiteral("07:30:00"));
    state_->slot(8).runCommand = runCommand;
    windows_->keepOpen = true;
    show(at(7, 30, 0));
    // A day later its window is still up; meanwhile the slot was changed.
    state_->slot(8).showMessage = showMessage;
    show(at(7, 30, 0, 1));
    QCOMPARE(launcher_->starts.size(), starts);
    QCOMPARE(windows_->opened, QList<int> { 8 });
    QCOMPARE(windows_->firedAgain, firedAgain);
    // Said where the user looks as well as on standard error, once for the window shown again.
    QCOMPARE(notice_->titles.size(), firedAgain.size());
    QCOMPARE(notice_->texts.size(), firedAgain.size());
    if (!firedAgain.isEmpty())
        QCOMPARE(notice_->titles.at(0), QStringLiteral("VQ-DBD - V3 - ALARM FIRED AGAIN"));
}

void TestAlarmEngine::onlyAlarmsThatDidNotFireThatDayAreReportedMissed_data()
{
    // The seconds shown, counted from 10:00:00 on one day; the slot is due at 10:00:00.
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<int>("firings");
    QTest::addColumn<int>("missed");
    QTest::newRow("passed over") << QList<int> { -25, 90 } << 0 << 1;
    QTest::newRow("fired, set back 30 s, then forward over it") << QList<int> { 0, 5, -25, 90 } << 1 << 0;
    QTest::newRow("fired the day before, passed over today") << QList<int> { -86400, -25, 90 } << 1 << 1;
    // The last minute of a long jump is made up, as after a resume that took a while.
    QTest::newRow("passed over by a minute at the end of a jump") << QList<int> { -3600, 60 } << 1 << 0;
}

void TestAlarmEngine::onlyAlarmsThatDidNotFireThatDayAreReportedMissed()
{
    QFETCH(QList<int>, shown);
    QFETCH(int, firings);
    QFETCH(int, missed);
    arm(1, QStringLiteral("10:00:00"));
    for (const int second : std::as_const(shown))
        show(at(10, 0, 0) + second);
    QCOMPARE(windows_->opened.size(), firings);
    QCOMPARE(notice_->titles.size(), missed);
    QCOMPARE(notice_->texts.size(), missed);
    QCOMPARE(desktop_->titles.size(), missed);
}

void TestAlarmEngine::showMessageOtherThanOneOpensNoWindow()
{
    arm(1, QStringLiteral("07:30:00"));
    arm(2, QStringLiteral("07:30:00"));
    state_->slot(1).showMessage = 0;
    state_->slot(2).showMessage = 2;
    show(at(7, 30, 0));
    QVERIFY(windows_->opened.isEmpty());
    QCOMPARE(launcher_->starts.size(), 2);
}

void TestAlarmEngine::inEveryLocaleHHmmssAndTheClocksOwnTextFireOnceADay_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("hour"); // it fires at hour:35:23 of each day; -1: never
    QTest::addColumn<bool>("late"); // the display passes over that second, which is made up
    const auto row = [](const char* locale, const QString& time, int hour) {
        for (const bool late : { false, true })
            QTest::addRow("%s %s%s", locale, qPrintable(time), late ? ", late" : "")
                << QByteArray(locale) << time << hour << late;
    };
    row("C.UTF-8", "19:35:23", 19);
    row("en_US.UTF-8", "19:35:23", 19);
    row("en_US.UTF-8", "07:35:23 PM", 19);
    row("en_US.UTF-8", "07:35:23", 7);
    row("en_US.UTF-8", "19:35:23 PM", -1);
    row("el_GR.UTF-8", "07:35:23 μμ", 19);
    row("de_DE.UTF-8", "19:35:23", 19);
    row("nb_NO.UTF-8", "19:35:23", 19);
    row("nb_NO.UTF-8", "kl. 19.35 +0000", -1);
    row("ja_JP.UTF-8", "19:35:23", 19);
    row("ja_JP.UTF-8", "19時35分23秒", -1);
}

void TestAlarmEngine::inEveryLocaleHHmmssAndTheClocksOwnTextFireOnceADay()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, time);
    QFETCH(int, hour);
    QFETCH(bool, late);
    QVERIFY(test::provideLocales().isEmpty());
    engine_.reset();
    format_ = std::make_unique<TimeTextFormat>(locale);
    engine_ = std::make_unique<AlarmEngine>(*state_, *launcher_, *format_, *windows_, *notice_, *desktop_,
                                            wakeTimer_);
    arm(4, time);
    QSignalSpy fired(engine_.get(), &AlarmEngine::fired);
    // Two whole days, every second the clock shows.
    for (qint64 second = at(0, 0, 0); second < at(0, 0, 0, 2); ++second) {
        if (!late || (second != at(hour, 35, 23) && second != at(hour, 35, 23, 1)))
            show(second);
    }
    QCOMPARE(fired.size(), hour < 0 ? 0 : 2);
    for (const QList<QVariant>& firing : std::as_const(fired))
        QCOMPARE(firing.at(1).toString(), format_->format(hour, 35, 23));
}

QTEST_GUILESS_MAIN(TestAlarmEngine)
#include "tst_alarm_engine.moc"

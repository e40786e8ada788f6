// SPDX-License-Identifier: GPL-3.0-or-later
// Days of a real calendar, second by second: the clock's tick on a fake wall clock feeding the alarm
// engine, under a time zone with daylight-saving time. A daily alarm fires once per local calendar
// day at its time, whatever the clock or the time zone does.
#include "FakeLauncher.h"
#include "FakeWakeTimer.h"
#include "FakeWallClock.h"
#include "FakeZoneWatcher.h"
#include "RecordingNotice.h"
#include "alarms/AlarmEngine.h"
#include "alarms/AlarmWindows.h"
#include "clock/SecondTicker.h"
#include "state/LiveState.h"

#include <QTest>
#include <QTime>
#include <cstdlib>
#include <ctime>

using namespace vqdbd;
using vqdbd::test::FakeWallClock;
using namespace std::chrono_literals;

namespace {

class CountingWindows final : public AlarmWindows
{
public:
    bool isWindowOpen(int) const override { return false; }
    void openWindow(int slot) override { opened.append(slot); }
    void showFiredAgain(int slot, const QString&) override { opened.append(slot); }
    QList<int> opened;
};

// Central European rules: summer time from the last Sunday of March 02:00 to the last Sunday of
// October 03:00. Written out, so the test needs no time-zone database.
constexpr char kZone[] = "CET-1CEST,M3.5.0,M10.5.0/3";

// A zone without daylight-saving time whose clocks stand this far ahead of summer time in kZone, to
// the second: "ZZZ-02:01:02" for 62 s.
QByteArray zoneAheadOfSummerTime(int seconds)
{
    const int east = 2 * 3600 + seconds;
    const int offset = std::abs(east);
    return QString::asprintf("ZZZ%c%02d:%02d:%02d", east < 0 ? '+' : '-', offset / 3600, offset / 60 % 60,
                             offset % 60)
        .toLatin1();
}

qint64 utcOf(int year, int month, int day, int hour, int minute, int second)
{
    std::tm local {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return static_cast<qint64>(std::mktime(&local));
}

struct Calendar
{
    LiveState state;
    test::FakeLauncher launcher;
    CountingWindows windows;
    TimeTextFormat format { "C" };
    FakeWallClock clock;
    test::FakeZoneWatcher zone;
    SecondTicker ticker { clock, format };
    test::RecordingNotice notice;
    test::RecordingNotice desktop;
    test::FakeWakeTimer wakeTimer;
    AlarmEngine engine { state, launcher, format, windows, notice, desktop, wakeTimer };
    QList<QString> firedAt; // the displayed text when each firing happened

    explicit Calendar(qint64 startUtc)
        : clock(FakeWallClock::at(startUtc, 400))
    {
        // As the program has it: a change of time zone is told to the clock as a clock set.
        QObject::connect(&zone, &ZoneWatcher::zoneChanged, &clock, &WallClock::clockChanged);
        QObject::connect(&ticker, &SecondTicker::secondShown, &engine, &AlarmEngine::onSecondShown);
        QObject::connect(&engine, &AlarmEngine::fired, &engine,
                         [this](int, const QString&) { firedAt.append(ticker.text()); });
    }

    void arm(int slot, const QString& time)
    {
        AlarmSlot& s = state.slot(slot);
        s.enabled = 1;
        s.time = time;
        s.showMessage = 1;
        s.runCommand = 1;
        s.command = QStringLiteral("true");
        state.masterSwitch = 1;
    }

    int firings(int slot) const { return static_cast<int>(windows.opened.count(slot)); }
};

} // namespace

class AlarmCalendarTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void fortyEightHoursAcrossMidnightFireOncePerDay();
    void springForwardSkipsTheHourAndSaysWhichAlarmWasMissed();
    void fallBackLivesAnHourTwiceButFiresOnce();
    void forwardJumpsMakeUpAMinuteAndNoMore_data();
    void forwardJumpsMakeUpAMinuteAndNoMore();
    void backwardJumpsNeverFireTwiceInADay_data();
    void backwardJumpsNeverFireTwiceInADay();

private:
    QByteArray oldZone_;
};

void AlarmCalendarTest::initTestCase()
{
    oldZone_ = qgetenv("TZ");
    qputenv("TZ", kZone);
    tzset();
}

void AlarmCalendarTest::init()
{
    qputenv("TZ", kZone);
    tzset();
}

void AlarmCalendarTest::cleanupTestCase()
{
    qputenv("TZ", oldZone_);
    tzset();
}

void AlarmCalendarTest::fortyEightHoursAcrossMidnightFireOncePerDay()
{
    Calendar calendar(utcOf(2024, 6, 10, 6, 0, 0));
    calendar.arm(1, QStringLiteral("00:00:00"));
    calendar.arm(2, QStringLiteral("12:34:56"));
    calendar.arm(3, QStringLiteral("23:59:59"));
    calendar.arm(4, QStringLiteral("06:00:01"));
    calendar.ticker.start();
    calendar.clock.runFor(48h);
    QCOMPARE(calendar.firings(1), 2);
    QCOMPARE(calendar.firings(2), 2);
    QCOMPARE(calendar.firings(3), 2);
    QCOMPARE(calendar.firings(4), 2);
    QCOMPARE(calendar.launcher.starts.size(), 8);
    QCOMPARE(calendar.firedAt.count(QStringLiteral("12:34:56")), 2);
    QVERIFY(calendar.notice.texts.isEmpty());
}

void AlarmCalendarTest::springForwardSkipsTheHourAndSaysWhichAlarmWasMissed()
{
    // 2024-03-31: at 02:00 CET the clocks go to 03:00 CEST.
    Calendar calendar(utcOf(2024, 3, 30, 12, 0, 0));
    calendar.arm(1, QStringLiteral("02:30:00"));
    calendar.arm(2, QStringLiteral("01:59:59"));
    calendar.arm(3, QStringLiteral("03:00:00"));
    calendar.ticker.start();
    calendar.clock.runFor(24h); // to 13:00 on the 31st, local time
    QCOMPARE(calendar.firings(1), 0);
    QCOMPARE(calendar.firings(2), 1);
    QCOMPARE(calendar.firings(3), 1);
    QCOMPARE(calendar.notice.texts.size(), 1);
    QVERIFY2(calendar.notice.texts.at(0).contains(QStringLiteral("02:30:00")),
             qPrintable(calendar.notice.texts.at(0)));
}

void AlarmCalendarTest::fallBackLivesAnHourTwiceButFiresOnce()
{
    // 2024-10-27: at 03:00 CEST the clocks go back to 02:00 CET.
    Calendar calendar(utcOf(2024, 10, 26, 12, 0, 0));
    calendar.arm(1, QStringLiteral("02:30:00"));
    calendar.arm(2, QStringLiteral("03:00:00"));
    calendar.ticker.start();
    calendar.clock.runFor(48h); // to 11:00 on the 28th, local time
    // On the 27th 02:30:00 is shown twice and fires once; on the 28th it fires again.
    QCOMPARE(calendar.firings(1), 2);
    QCOMPARE(calendar.firings(2), 2);
    QVERIFY(calendar.notice.texts.isEmpty());
}

void AlarmCalendarTest::forwardJumpsMakeUpAMinuteAndNoMore_data()
{
    QTest::addColumn<int>("jump");
    QTest::addColumn<bool>("byZone"); // the clock stays and the time zone changes to one ahead
    QTest::addColumn<int>("firings");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<bool>("andAgain"); // the zone goes back, then ahead again
    QTest::newRow("1 s") << 1 << false << 1 << false << false;
    QTest::newRow("59 s") << 59 << false << 1 << false << false;
    QTest::newRow("61 s") << 61 << false << 1 << false << false;
    QTest::newRow("62 s") << 62 << false << 0 << true << false;
    QTest::newRow("3 h") << 3 * 3600 << false << 0 << true << false;
    QTest::newRow("a zone 61 s ahead") << 61 << true << 1 << false << false;
    QTest::newRow("a zone 3 h ahead") << 3 * 3600 << true << 0 << true << false;
    QTest::newRow("a zone 3 h ahead, back and ahead again") << 3 * 3600 << true << 0 << true << true;
}

void AlarmCalendarTest::forwardJumpsMakeUpAMinuteAndNoMore()
{
    QFETCH(int, jump);
    QFETCH(bool, byZone);
    QFETCH(int, firings);
    QFETCH(bool, reported);
    QFETCH(bool, andAgain);
    const qint64 start = utcOf(2024, 6, 10, 7, 59, 59);
    Calendar calendar(start);
    calendar.arm(1, QStringLiteral("08:00:00"));
    calendar.ticker.start();
    if (byZone)
        calendar.zone.moveTo(zoneAheadOfSummerTime(jump));
    else
        calendar.clock.jumpTo(FakeWallClock::at(start + jump, 100));
    if (andAgain) {
        calendar.zone.moveTo(kZone);
        calendar.zone.moveTo(zoneAheadOfSummerTime(jump));
    }
    QCOMPARE(calendar.ticker.text(), QTime(7, 59, 59).addSecs(jump).toString(u"HH:mm:ss"));
    QCOMPARE(calendar.firings(1), firings);
    // Said once, however often the same day's time was passed over.
    QCOMPARE(calendar.notice.texts.size(), reported ? 1 : 0);
    // And it does not fire again before the next day.
    calendar.clock.runFor(std::chrono::seconds(20 * 3600 - jump));
    QCOMPARE(calendar.firings(1), firings);
}

void AlarmCalendarTest::backwardJumpsNeverFireTwiceInADay_data()
{
    QTest::addColumn<int>("jump");
    QTest::addColumn<bool>("byZone"); // the clock stays and the time zone changes to one behind
    QTest::newRow("1 s") << 1 << false;
    QTest::newRow("59 s") << 59 << false;
    QTest::newRow("61 s") << 61 << false;
    QTest::newRow("3 h") << 3 * 3600 << false;
    QTest::newRow("a zone 3 h behind") << 3 * 3600 << true;
}

void AlarmCalendarTest::backwardJumpsNeverFireTwiceInADay()
{
    QFETCH(int, jump);
    QFETCH(bool, byZone);
    const qint64 start = utcOf(2024, 6, 10, 7, 59, 50);
    Calendar calendar(start);
    calendar.arm(1, QStringLiteral("08:00:00"));
    calendar.ticker.start();
    calendar.clock.runFor(20s);
    QCOMPARE(calendar.firings(1), 1);
    // From 08:00:10 back to before the alarm's second.
    if (byZone)
        calendar.zone.moveTo(zoneAheadOfSummerTime(-jump - 10));
    else
        calendar.clock.jumpTo(calendar.clock.now() - std::chrono::seconds(jump) - 10s);
    QCOMPARE(calendar.ticker.text(), QTime(8, 0, 0).addSecs(-jump).toString(u"HH:mm:ss"));
    calendar.clock.runFor(std::chrono::seconds(jump + 60));
    QCOMPARE(calendar.firings(1), 1);
    QVERIFY(calendar.notice.texts.isEmpty());
    // The next day it fires again.
    calendar.clock.runFor(24h);
    QCOMPARE(calendar.firings(1), 2);
}

QTEST_GUILESS_MAIN(AlarmCalendarTest)
#include "tst_alarm_calendar.moc"

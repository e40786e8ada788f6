// SPDX-License-Identifier: GPL-3.0-or-later
// The wake-up timer is armed for the next alarm that a running check fires, in the zone in force.
#include "FakeWakeTimer.h"
#include "alarms/WakeSchedule.h"
#include "state/LiveState.h"

#include <QDateTime>
#include <QTest>
#include <ctime>

using namespace vqdbd;

class WakeScheduleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { oldZone_ = qgetenv("TZ"); }
    void cleanup() { setZone(oldZone_); }
    void nextAlarmIsTheFirstSecondARunningCheckFires_data();
    void nextAlarmIsTheFirstSecondARunningCheckFires();
    void timerIsSetOnlyWhenTheNextAlarmChangesAndARefusalIsToldOnce();

private:
    static void setZone(const QByteArray& zone)
    {
        qputenv("TZ", zone);
        tzset();
    }
    QByteArray oldZone_;
};

namespace {

qint64 utcOf(const QString& isoUtc)
{
    return QDateTime::fromString(isoUtc, Qt::ISODate).toSecsSinceEpoch();
}

// "slot=time ..." enabled, under the master switch given.
void setAlarms(LiveState& state, const QString& alarms, int master)
{
    for (const QString& alarm : alarms.split(u' ', Qt::SkipEmptyParts)) {
        AlarmSlot& slot = state.slot(alarm.section(u'=', 0, 0).toInt());
        slot.enabled = 1;
        slot.time = alarm.section(u'=', 1);
    }
    state.masterSwitch = master;
}

} // namespace

void WakeScheduleTest::nextAlarmIsTheFirstSecondARunningCheckFires_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("now"); // UTC
    QTest::addColumn<QString>("alarms");
    QTest::addColumn<int>("master");
    QTest::addColumn<QString>("next"); // UTC; empty: none
    QTest::addColumn<QByteArray>("movedTo"); // the zone in force from the next second on; empty: none
    const QByteArray berlin("Europe/Berlin");
    const QString noon = QStringLiteral("2026-06-10T10:00:00Z"); // 12:00 in Berlin
    const QByteArray none;
    QTest::newRow("no alarm enabled") << berlin << noon << "" << 1 << "" << none;
    QTest::newRow("one enabled, later today")
        << berlin << noon << "3=16:00:00" << 1 << "2026-06-10T14:00:00Z" << none;
    QTest::newRow("passed today: tomorrow")
        << berlin << noon << "3=07:00:00" << 1 << "2026-06-11T05:00:00Z" << none;
    QTest::newRow("due this very second: tomorrow")
        << berlin << noon << "3=12:00:00" << 1 << "2026-06-11T10:00:00Z" << none;
    QTest::newRow("two due in the same second")
        << berlin << noon << "2=16:00:00 9=16:00:00" << 1 << "2026-06-10T14:00:00Z" << none;
    QTest::newRow("the earlier of two")
        << berlin << noon << "2=18:00:00 9=16:00:00" << 1 << "2026-06-10T14:00:00Z" << none;
    QTest::newRow("the earlier of two in the lower slot")
        << berlin << noon << "2=16:00:00 9=18:00:00" << 1 << "2026-06-10T14:00:00Z" << none;
    QTest::newRow("later today before earlier tomorrow")
        << berlin << noon << "1=07:00:00 10=13:00:00" << 1 << "2026-06-10T11:00:00Z" << none;
    QTest::newRow("all ten passed today: the earliest tomorrow")
        << berlin << noon
        << "1=09:00:00 2=08:00:00 3=11:59:59 4=10:00:00 5=06:00:00 6=05:30:00 7=11:00:00 8=07:00:00 "
           "9=03:00:00 10=04:00:00"
        << 1 << "2026-06-11T01:00:00Z" << none;
    QTest::newRow("master switch off") << berlin << noon << "3=16:00:00" << 0 << "" << none;
    QTest::newRow("a time that never fires") << berlin << noon << "3=16:00" << 1 << "" << none;
    QTest::newRow("tomorrow in summer time") << berlin << "2026-03-28T22:00:00Z"
                                             << "3=07:00:00" << 1 << "2026-03-29T05:00:00Z" << none;
    QTest::newRow("the hour summer time skips: the next day")
        << berlin << "2026-03-29T00:00:00Z"
        << "3=02:30:00" << 1 << "2026-03-30T00:30:00Z" << none;
    QTest::newRow("passed today, tomorrow's in the hour skipped: the day after")
        << berlin << "2026-03-28T02:00:00Z"
        << "3=02:30:00" << 1 << "2026-03-30T00:30:00Z" << none;
    QTest::newRow("the hour lived twice: its first time")
        << berlin << "2026-10-24T23:00:00Z"
        << "3=02:30:00" << 1 << "2026-10-25T00:30:00Z" << none;
    QTest::newRow("another zone, the same moment")
        << QByteArray("Asia/Tokyo") << noon << "3=16:00:00" << 1 << "2026-06-11T07:00:00Z" << none;
    QTest::newRow("west, after midnight in UTC: still today")
        << QByteArray("America/New_York") << "2026-06-11T01:00:00Z"
        << "3=22:00:00" << 1 << "2026-06-11T02:00:00Z" << none;
    QTest::newRow("the zone changes: armed again")
        << berlin << noon << "3=16:00:00" << 1 << "2026-06-11T07:00:00Z" << QByteArray("Asia/Tokyo");
}

void WakeScheduleTest::nextAlarmIsTheFirstSecondARunningCheckFires()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, now);
    QFETCH(QString, alarms);
    QFETCH(int, master);
    QFETCH(QString, next);
    QFETCH(QByteArray, movedTo);
    setZone(zone);
    LiveState state;
    setAlarms(state, alarms, master);
    const TimeTextFormat format("C");
    const FiringTimes times(format);
    qint64 second = utcOf(now);
    test::FakeWakeTimer timer;
    WakeScheduler scheduler(state, format, timer, nullptr, [](const QString&) {});
    scheduler.onSecondShown(wallSecondAt(second));
    if (!movedTo.isEmpty()) {
        setZone(movedTo);
        scheduler.onSecondShown(wallSecondAt(++second));
    }
    const std::optional<qint64> due = nextAlarmSecond(state, times, wallSecondAt(second));
    QCOMPARE(due ? QDateTime::fromSecsSinceEpoch(*due, Qt::UTC).toString(Qt::ISODate) : QString(), next);
    // One timer for all the slots, armed once for each moment, the lead ahead of the alarm.
    QCOMPARE(timer.armings.size(), movedTo.isEmpty() ? 1 : 2);
    const std::optional<WallTime> wake = due
        ? std::optional<WallTime>(std::chrono::seconds(*due - WakeScheduler::kLeadSeconds))
        : std::nullopt;
    QCOMPARE(timer.armings.last(), wake);
}

void WakeScheduleTest::timerIsSetOnlyWhenTheNextAlarmChangesAndARefusalIsToldOnce()
{
    setZone("Europe/Berlin");
    LiveState state;
    const TimeTextFormat format("C");
    test::FakeWakeTimer timer;
    timer.refusal = QStringLiteral("the system has no wake-up timer (Invalid argument)");
    QStringList told;
    WakeScheduler scheduler(state, format, timer, nullptr,
                            [&told](const QString& line) { told.append(line); });
    const qint64 noon = utcOf(QStringLiteral("2026-06-10T10:00:00Z"));
    const auto wakeAt = [](qint64 utc) {
        return std::optional<WallTime>(std::chrono::seconds(utc - WakeScheduler::kLeadSeconds));
    };

    scheduler.onSecondShown(wallSecondAt(noon));
    QCOMPARE(timer.armings, QList<std::optional<WallTime>> { std::nullopt });
    QVERIFY(told.isEmpty()); // nobody is told while no alarm wants the computer awake

    setAlarms(state, QStringLiteral("3=16:00:00"), 1);
    for (int second = 1; second <= 3; ++second)
        scheduler.onSecondShown(wallSecondAt(noon + second));
    QCOMPARE(timer.armings.size(), 2);
    QCOMPARE(timer.armings.last(), wakeAt(noon + 4 * 3600));

    // A new time zone moves the same alarm to another moment.
    setZone("Asia/Tokyo");
    scheduler.onSecondShown(wallSecondAt(noon + 4));
    QCOMPARE(timer.armings.last(), wakeAt(utcOf(QStringLiteral("2026-06-11T07:00:00Z"))));

    state.masterSwitch = 0;
    scheduler.onSecondShown(wallSecondAt(noon + 5));
    QCOMPARE(timer.armings.last(), std::nullopt);
    setAlarms(state, QStringLiteral("3=16:00:00"), 1);
    scheduler.onSecondShown(wallSecondAt(noon + 6));
    QCOMPARE(timer.armings.size(), 5);
    // Closer than the lead, the computer wakes at the alarm's own second.
    setZone("Europe/Berlin");
    state.slot(3).time = QStringLiteral("12:00:09");
    scheduler.onSecondShown(wallSecondAt(noon + 7));
    QCOMPARE(timer.armings.last(), std::optional<WallTime>(std::chrono::seconds(noon + 9)));
    QCOMPARE(told.size(), 1);
    QVERIFY(told.at(0).contains(timer.refusal));
}

QTEST_GUILESS_MAIN(WakeScheduleTest)
#include "tst_wake_schedule.moc"

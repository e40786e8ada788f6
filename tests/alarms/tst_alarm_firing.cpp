// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockRig.h"
#include "alarms/AlarmEngine.h"
#include "notify/AlarmNotificationWindow.h"
#include "notify/SlotNotificationWindows.h"

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace vqdbd;
using namespace std::chrono_literals;
using test::FakeWallClock;

namespace {

// The rig's clock starts a quarter second into this UTC second.
constexpr qint64 kStart = 1'700'000'000;

class TestAlarmFiring final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void firesOnceWhenTheTickIsOnTime();
    void firesOnceWhenTheTickRunsLate();
    void twoSlotsDueAtOnceOpenTwoWindows();
    void theClockKeepsTickingUnderAnOpenWindow();
    void aCommandThatCannotStartIsToldAndTheWindowStillOpens();
    void aCommandThatFailsIsToldOnceWithItsAlarm();
    void aWindowLeftOpenShowsTheNextDaysFiringAndTheCommandRunsAgain_data();
    void aWindowLeftOpenShowsTheNextDaysFiringAndTheCommandRunsAgain();

private:
    // Stores slot n as enabled, due `secondsAhead` after the start, showing its window and running
    // `command` hidden.
    void storeAlarm(int slot, qint64 secondsAhead, const QString& command = QStringLiteral("beep"));
    QString textAt(qint64 utcSecond) const { return rig_->timeFormat.format(wallSecondAt(utcSecond).local); }
    int openWindows() const;

    std::unique_ptr<test::ClockRig> rig_ = std::make_unique<test::ClockRig>();
};

void TestAlarmFiring::cleanup()
{
    rig_ = std::make_unique<test::ClockRig>();
}

void TestAlarmFiring::storeAlarm(int slot, qint64 secondsAhead, const QString& command)
{
    auto& values = rig_->backend.values;
    values.insert(QStringLiteral("ENABLE_ALARMS_TICKBOX"), QStringLiteral("1"));
    values.insert(slotKey(SlotField::Enabled, slot), QStringLiteral("1"));
    values.insert(slotKey(SlotField::Name, slot), QStringLiteral("Tea %1").arg(slot));
    values.insert(slotKey(SlotField::Time, slot), textAt(kStart + secondsAhead));
    values.insert(slotKey(SlotField::ShowMessage, slot), QStringLiteral("1"));
    values.insert(slotKey(SlotField::RunCommand, slot), QStringLiteral("1"));
    values.insert(slotKey(SlotField::RunHidden, slot), QStringLiteral("1"));
    values.insert(slotKey(SlotField::Command, slot), command);
}

int TestAlarmFiring::openWindows() const
{
    int open = 0;
    for (int n = 1; n <= kSlotCount; ++n)
        open += rig_->window->notificationWindows().isWindowOpen(n) ? 1 : 0;
    return open;
}

void TestAlarmFiring::firesOnceWhenTheTickIsOnTime()
{
    storeAlarm(3, 3);
    rig_->start();
    QSignalSpy fired(&rig_->window->alarms(), &AlarmEngine::fired);
    rig_->clock.runFor(10s);
    QCOMPARE(fired.size(), 1);
    QCOMPARE(rig_->launcher.starts.size(), 1);
    QCOMPARE(rig_->launcher.starts.at(0).program, QStringLiteral("beep"));
    AlarmNotificationWindow* window = rig_->window->notificationWindows().window(3);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), AlarmNotificationWindow::titleFor(QStringLiteral("Tea 3")));
    QCOMPARE(window->parentWidget(), rig_->window.get());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    // It carries the clock's icon, the drum picture in 16 and 24 pixels, as every window of the program does.
    QCOMPARE(window->windowIcon().cacheKey(), rig_->window->windowIcon().cacheKey());
    QCOMPARE(window->windowIcon().availableSizes(), QList<QSize>({ QSize(16, 16), QSize(24, 24) }));

    // Its window closed and the clock set back to just before the alarm's second, the clock shows
    // that second once more: no new firing.
    window->close();
    rig_->clock.jumpTo(FakeWallClock::at(kStart + 2, 900));
    rig_->clock.runFor(3s);
    QCOMPARE(fired.size(), 1);
    QCOMPARE(rig_->launcher.starts.size(), 1);
}

void TestAlarmFiring::firesOnceWhenTheTickRunsLate()
{
    storeAlarm(1, 3);
    rig_->start();
    QSignalSpy fired(&rig_->window->alarms(), &AlarmEngine::fired);
    rig_->clock.runFor(2s);
    // The wake-up for the alarm's second comes 1.4 s late: the display never shows that second.
    QVERIFY(rig_->clock.pendingWake());
    rig_->clock.advanceTo(*rig_->clock.pendingWake(), 1400ms);
    QCOMPARE(rig_->window->timeText(), textAt(kStart + 4));
    QCOMPARE(fired.size(), 1);
    rig_->clock.runFor(5s);
    QCOMPARE(fired.size(), 1);
    QCOMPARE(rig_->launcher.starts.size(), 1);
}

void TestAlarmFiring::twoSlotsDueAtOnceOpenTwoWindows()
{
    storeAlarm(2, 2);
    storeAlarm(5, 2);
    rig_->start();
    rig_->clock.runFor(3s);
    QCOMPARE(openWindows(), 2);
    QCOMPARE(rig_->launcher.starts.size(), 2);
    // The later window comes up above the earlier one.
    QVERIFY(rig_->window->notificationWindows().window(2)->isVisible());
    QVERIFY(rig_->window->notificationWindows().window(5)->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), rig_->window->notificationWindows().window(5));
}

void TestAlarmFiring::theClockKeepsTickingUnderAnOpenWindow()
{
    storeAlarm(4, 1);
    rig_->start();
    rig_->clock.runFor(1s);
    QCOMPARE(openWindows(), 1);
    for (qint64 second = 2; second <= 4; ++second) {
        rig_->clock.runFor(1s);
        QCOMPARE(rig_->window->timeText(), textAt(kStart + second));
    }
    QCOMPARE(openWindows(), 1);
}

void TestAlarmFiring::aCommandThatCannotStartIsToldAndTheWindowStillOpens()
{
    storeAlarm(6, 1, QStringLiteral("missing-tool --now"));
    rig_->launcher.refusal = QStringLiteral("no program named \"missing-tool\" was found on PATH");
    rig_->start();
    rig_->clock.runFor(2s);
    QCOMPARE(rig_->notice.texts.size(), 1);
    QCOMPARE(
        rig_->notice.texts.at(0),
        QStringLiteral("alarm 6: the command line \"missing-tool --now\" was not started: no program named "
                       "\"missing-tool\" was found on PATH"));
    QVERIFY(rig_->window->notificationWindows().isWindowOpen(6));
}

void TestAlarmFiring::aCommandThatFailsIsToldOnceWithItsAlarm()
{
    storeAlarm(6, 1, QStringLiteral("backup --now"));
    storeAlarm(7, 1, QStringLiteral("true"));
    rig_->start();
    rig_->clock.runFor(2s);
    QCOMPARE(rig_->launcher.starts.size(), 2);
    // Renamed before its command ends: the line names the alarm as it fired.
    rig_->window->liveState().slot(6).name = QStringLiteral("renamed");
    ProcessEnding failed;
    failed.exitStatus = 3;
    failed.errorTail = "copying\nno space left on device\n";
    rig_->launcher.end(0, failed);
    rig_->launcher.end(1, ProcessEnding {});
    const QString firedAt = QLocale::c().toString(QDateTime::fromSecsSinceEpoch(kStart + 1), u"ddd d MMM ")
        + textAt(kStart + 1);
    QCOMPARE(rig_->notice.titles, QStringList { QStringLiteral("VQ-DBD - V3 - COMMAND FAILED") });
    QCOMPARE(rig_->notice.texts,
             QStringList { QStringLiteral("alarm 6 (\"Tea 6\", fired %1): the command line \"backup --now\" "
                                          "ended with exit status 3; its last error line: no space left on "
                                          "device")
                               .arg(firedAt) });
}

void TestAlarmFiring::aWindowLeftOpenShowsTheNextDaysFiringAndTheCommandRunsAgain_data()
{
    QTest::addColumn<QString>("storedAutoClose");
    QTest::addColumn<QString>("countdown"); // the count's timer, then what its box shows
    QTest::newRow("auto-close off") << "0"
                                    << "stopped OFF";
    QTest::newRow("auto-close on, count stopped by the user") << "1"
                                                              << "running 10";
}

void TestAlarmFiring::aWindowLeftOpenShowsTheNextDaysFiringAndTheCommandRunsAgain()
{
    QFETCH(QString, storedAutoClose);
    QFETCH(QString, countdown);
    storeAlarm(3, 3);
    storeAlarm(5, 4);
    rig_->backend.values.insert(QStringLiteral("ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX"), storedAutoClose);
    rig_->start();
    rig_->clock.runFor(6s);
    SlotNotificationWindows& windows = rig_->window->notificationWindows();
    const QPointer<AlarmNotificationWindow> window = windows.window(3);
    const auto timer = [&](const char* name) {
        return window->findChild<QTimer*>(QLatin1String(name));
    };
    // The user stops the count and goes away; slot 5's window lies above, the marks are mid-flash.
    if (storedAutoClose == u"1")
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("START_STOP_BUTTON")),
                          Qt::LeftButton);
    QMetaObject::invokeMethod(timer("FLASH_ON_TIMER"), "timeout");
    QTRY_COMPARE(QApplication::activeWindow(), windows.window(5));
    rig_->window->liveState().slot(5).time = QStringLiteral("never");

    // The next day at the same time: the command runs again and the same window comes back.
    rig_->clock.jumpTo(FakeWallClock::at(kStart + 86400, 250));
    rig_->clock.runFor(6s);
    QCOMPARE(rig_->launcher.starts.size(), 3);
    const QWidgetList shown = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(shown.begin(), shown.end(), [](QWidget* w) { return w->isVisible(); }), 3);
    QCOMPARE(windows.window(3), window.data());
    QTRY_COMPARE(QApplication::activeWindow(), window.data());
    QVERIFY(timer("FLASH_ON_TIMER")->isActive() && !timer("FLASH_OFF_TIMER")->isActive());
    QCOMPARE(QStringLiteral("%1 %2").arg(
                 timer("ALARM_MESSAGE_AUTOCLOSE_TIMER")->isActive() ? "running" : "stopped",
                 window->findChild<QLineEdit*>(QStringLiteral("AUTOCLOSE_COUNTDOWN_TB"))->text()),
             countdown);
    auto* firedAgain = window->findChild<QLabel*>(QStringLiteral("FIRED_AGAIN_LABEL"));
    QVERIFY(firedAgain->isVisible());
    QVERIFY2(firedAgain->text().endsWith(u' ' + textAt(kStart + 86403)), qPrintable(firedAgain->text()));
    QCOMPARE(rig_->notice.titles, QStringList { QStringLiteral("VQ-DBD - V3 - ALARM FIRED AGAIN") });
}

} // namespace

QTEST_MAIN(TestAlarmFiring)
#include "tst_alarm_firing.moc"

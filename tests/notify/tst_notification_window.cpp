// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotificationRig.h"
#include "notify/AlarmNotificationWindow.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/NoticeWindow.h"
#include "ui/Switches.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <csignal>

using namespace vqdbd;
using test::control;
using test::isRunning;
using test::tick;

namespace {

const char* const kCountdownTimer = "ALARM_MESSAGE_AUTOCLOSE_TIMER";

// Writes "exposed" among the window manager's calls when a window comes on the screen.
class ExposureLog final : public QObject
{
public:
    ExposureLog(QWindow& window, QStringList& log)
        : log_(log)
    {
        if (window.isExposed())
            log_.append(QStringLiteral("exposed"));
        window.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            log_.append(QStringLiteral("exposed"));
        return false;
    }

private:
    QStringList& log_;
};

class TestAlarmNotificationWindow final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void opensWithTheDesignAndDefaults();
    void showsTheSlotFromTheLiveState();
    void titleEndsWithTheName_data();
    void titleEndsWithTheName();
    void runNowFollowsTheRunCommandSwitch_data();
    void runNowFollowsTheRunCommandSwitch();
    void runNowLaunchesOnEveryClick_data();
    void runNowLaunchesOnEveryClick();
    void runNowFailureIsToldAndTheWindowStays();
    void aRunNowCommandThatFailsIsToldAfterItsWindowClosed();
    void flashTimersHandOverEveryHalfSecond();
    void storedAutoCloseCountsDownAndClosesOnTheEleventhTick();
    void tickingAutoCloseShowsOnAndStartCounts();
    void clearingAutoCloseStopsTheCount();
    void autoCloseRestartsFromElevenAfterStop();
    void doubleClickOnTheCountdown_data();
    void doubleClickOnTheCountdown();
    void everyCloseSavesPlaceAndAutoClose_data();
    void everyCloseSavesPlaceAndAutoClose();
    void autoCloseChoiceIsKeptPerSlot();
    void aMovedWindowReopensWhereItWasLeft();
    void firingAgainSaysWhenInOneLineThatFits_data();
    void firingAgainSaysWhenInOneLineThatFits();
    void longTextsShowTheirStart();
    void aNoticeTakesInputOverModalWindowsAndOutlivesThem_data();
    void aNoticeTakesInputOverModalWindowsAndOutlivesThem();

private:
    AlarmNotificationWindow& open(int slot);
    QString countdownText() { return control<QLineEdit>(*window_, "AUTOCLOSE_COUNTDOWN_TB")->text(); }
    QPushButton& startStop() { return *control<QPushButton>(*window_, "START_STOP_BUTTON"); }
    QCheckBox& autoClose() { return *control<QCheckBox>(*window_, "ALARM_MESSAGE_AUTO_CLOSE_TICKBOX"); }
    // Ticks the countdown until the window closes; returns the texts it showed.
    QStringList countDown();

    std::unique_ptr<test::NotificationRig> rig_;
    QPointer<AlarmNotificationWindow> window_;
};

void TestAlarmNotificationWindow::init()
{
    rig_ = std::make_unique<test::NotificationRig>();
}

void TestAlarmNotificationWindow::cleanup()
{
    delete window_;
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

AlarmNotificationWindow& TestAlarmNotificationWindow::open(int slot)
{
    delete window_;
    window_ = AlarmNotificationWindow::showOver(rig_->services(), slot, nullptr);
    return *window_;
}

QStringList TestAlarmNotificationWindow::countDown()
{
    QStringList shown;
    for (int i = 0; i < 20 && window_ && window_->isVisible(); ++i) {
        if (!tick(*window_, kCountdownTimer))
            break;
        shown.append(countdownText());
    }
    return shown;
}

void TestAlarmNotificationWindow::opensWithTheDesignAndDefaults()
{
    AlarmNotificationWindow& window = open(3);
    QCOMPARE(window.objectName(), QStringLiteral("VQ_DBD_ALARM_3_NOTIFICATION_WINDOW"));
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(67, 67));
    QCOMPARE(window.size(), QSize(577, 203));
    QCOMPARE(window.windowModality(), Qt::ApplicationModal);
    QCOMPARE(countdownText(), QStringLiteral("OFF"));
    QCOMPARE(startStop().text(), QStringLiteral("START"));
    QVERIFY(!startStop().isEnabled());
    QVERIFY(!isRunning(window, kCountdownTimer));
    QCOMPARE(window.findChild<QTimer*>(QString::fromLatin1(kCountdownTimer))->interval(), 1000);
    QVERIFY(isRunning(window, "FLASH_ON_TIMER"));
    QVERIFY(!isRunning(window, "FLASH_OFF_TIMER"));
    QCOMPARE(window.findChild<QTimer*>(QStringLiteral("FLASH_OFF_TIMER"))->interval(), 500);
    QCOMPARE(control<QLineEdit>(window, "EX_LEFT_TEXTBOX")->text(), QStringLiteral("!!!"));
    QCOMPARE(control<QLineEdit>(window, "AUTOCLOSE_IN_TB")->text(), QStringLiteral("AUTOCLOSE:"));
    QCOMPARE(control<QPushButton>(window, "RUN_NOW_BUTTON")->text(), QStringLiteral("RUN NOW"));
    QCOMPARE(control<QLineEdit>(window, "ALARM_NAME_TEXTBOX")->text(), QStringLiteral("Alarm Name"));
    QCOMPARE(control<QLineEdit>(window, "ALARM_NOTIFICATION_MESSAGE_TEXTBOX")->text(),
             QStringLiteral("Display Message"));
    QCOMPARE(control<QLineEdit>(window, "ALARM_NUMBER_LEFT_TEXTBOX")->text(), QStringLiteral("3"));
    QCOMPARE(control<QLineEdit>(window, "ALARM_NUMBER_RIGHT_TEXTBOX")->text(), QStringLiteral("3"));
    QCOMPARE(control<QLineEdit>(window, "ALARM_NUMBER_LEFT_TEXTBOX")->geometry(), QRect(32, 112, 33, 33));
    QCOMPARE(control<QLineEdit>(window, "ALARM_NUMBER_LEFT_TEXTBOX")->palette().color(QPalette::Text),
             ui::toQColor(ui::kYellow));
    QCOMPARE(rig_->backend.readLog.mid(0, 5),
             (QStringList { "ALARM_3-NOTIFICATION-MESSAGE-Left", "ALARM_3-NOTIFICATION-MESSAGE-Top",
                            "ALARM_3-NOTIFICATION-MESSAGE-Width", "ALARM_3-NOTIFICATION-MESSAGE-Height",
                            "ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX" }));
}

void TestAlarmNotificationWindow::showsTheSlotFromTheLiveState()
{
    AlarmSlot& slot = rig_->state.slot(10);
    slot.message = QStringLiteral("Kettle");
    slot.runCommand = 1;
    slot.runHidden = 1;
    slot.command = QStringLiteral("play ding.wav");
    AlarmNotificationWindow& window = open(10);
    QCOMPARE(control<QLineEdit>(window, "ALARM_NOTIFICATION_MESSAGE_TEXTBOX")->text(),
             QStringLiteral("Kettle"));
    QCOMPARE(control<QLineEdit>(window, "ALARM_RUN_COMMAND_TEXTBOX")->text(),
             QStringLiteral("play ding.wav"));
    QVERIFY(control<QLineEdit>(window, "ALARM_RUN_COMMAND_TEXTBOX")->isReadOnly());
    QCOMPARE(ui::switchValue(*control<QCheckBox>(window, "ALARM_RUN_COMMAND_TICKBOX")), 1);
    QCOMPARE(ui::switchValue(*control<QCheckBox>(window, "RUN_HIDDEN_TICKBOX")), 1);
    QVERIFY(!control<QCheckBox>(window, "ALARM_RUN_COMMAND_TICKBOX")->isEnabled());
    QVERIFY(!control<QCheckBox>(window, "RUN_HIDDEN_TICKBOX")->isEnabled());
    QCOMPARE(control<QLineEdit>(window, "ALARM_NUMBER_RIGHT_TEXTBOX")->text(), QStringLiteral("10"));
}

void TestAlarmNotificationWindow::titleEndsWithTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Wake up") << "Wake up";
    QTest::newRow("empty name") << "";
}

void TestAlarmNotificationWindow::titleEndsWithTheName()
{
    QFETCH(QString, name);
    rig_->state.slot(1).name = name;
    QCOMPARE(open(1).windowTitle(), QStringLiteral("VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! - ") + name);
}

void TestAlarmNotificationWindow::runNowFollowsTheRunCommandSwitch_data()
{
    QTest::addColumn<int>("runCommand");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("0") << 0 << false;
    QTest::newRow("1") << 1 << true;
    QTest::newRow("2") << 2 << false;
}

void TestAlarmNotificationWindow::runNowFollowsTheRunCommandSwitch()
{
    QFETCH(int, runCommand);
    QFETCH(bool, enabled);
    rig_->state.slot(2).runCommand = runCommand;
    QCOMPARE(control<QPushButton>(open(2), "RUN_NOW_BUTTON")->isEnabled(), enabled);
}

void TestAlarmNotificationWindow::runNowLaunchesOnEveryClick_data()
{
    QTest::addColumn<int>("runHidden");
    QTest::addColumn<int>("launches");
    QTest::addColumn<WindowStyle>("style");
    QTest::newRow("normal") << 0 << 2 << WindowStyle::Normal;
    QTest::newRow("hidden") << 1 << 2 << WindowStyle::Hidden;
    QTest::newRow("run hidden 2: none") << 2 << 0 << WindowStyle::Normal;
}

void TestAlarmNotificationWindow::runNowLaunchesOnEveryClick()
{
    QFETCH(int, runHidden);
    QFETCH(int, launches);
    QFETCH(WindowStyle, style);
    AlarmSlot& slot = rig_->state.slot(4);
    slot.runCommand = 1;
    slot.runHidden = runHidden;
    slot.command = QStringLiteral("notify-send 'Tea time'");
    AlarmNotificationWindow& window = open(4);
    // Later changes to the live state do not reach a window already open.
    slot.command = QStringLiteral("changed");
    QTest::mouseClick(control<QPushButton>(window, "RUN_NOW_BUTTON"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(window, "RUN_NOW_BUTTON"), Qt::LeftButton);
    QCOMPARE(rig_->launcher.starts.size(), launches);
    for (const test::FakeLauncher::Start& start : std::as_const(rig_->launcher.starts)) {
        QCOMPARE(start.program, QStringLiteral("notify-send"));
        QCOMPARE(start.arguments, QStringList { "Tea time" });
        QCOMPARE(start.style, style);
    }
    QVERIFY(window.isVisible());
}

void TestAlarmNotificationWindow::runNowFailureIsToldAndTheWindowStays()
{
    rig_->state.slot(5).runCommand = 1;
    rig_->launcher.refusal = QStringLiteral("no program named \"Run\" was found on PATH");
    AlarmNotificationWindow& window = open(5);
    QTest::mouseClick(control<QPushButton>(window, "RUN_NOW_BUTTON"), Qt::LeftButton);
    QCOMPARE(rig_->notice.texts.size(), 1);
    QVERIFY2(rig_->notice.texts.at(0).startsWith(
                 QStringLiteral("RUN NOW of alarm 5: the command line \"Run Command\"")),
             qPrintable(rig_->notice.texts.at(0)));
    QVERIFY(rig_->notice.texts.at(0).contains(rig_->launcher.refusal));
    QVERIFY(window.isVisible());
}

void TestAlarmNotificationWindow::aRunNowCommandThatFailsIsToldAfterItsWindowClosed()
{
    AlarmSlot& slot = rig_->state.slot(5);
    slot.runCommand = 1;
    slot.name = QStringLiteral("Backup");
    slot.command = QStringLiteral("backup --now");
    AlarmNotificationWindow& window = open(5);
    QTest::mouseClick(control<QPushButton>(window, "RUN_NOW_BUTTON"), Qt::LeftButton);
    window.close();
    QTRY_VERIFY(rig_->notice.texts.isEmpty() && QApplication::topLevelWidgets().isEmpty());
    ProcessEnding killed;
    killed.signal = SIGTERM;
    killed.signalName = QStringLiteral("SIGTERM");
    killed.started = std::chrono::sys_seconds(std::chrono::seconds(1'700'000'000));
    rig_->launcher.end(0, killed);
    const QDateTime pressed = QDateTime::fromSecsSinceEpoch(1'700'000'000);
    QCOMPARE(rig_->notice.texts,
             QStringList {
                 QStringLiteral("RUN NOW of alarm 5 (\"Backup\", pressed %1 %2): the command line "
                                "\"backup --now\" was ended by SIGTERM; it wrote nothing to its "
                                "standard error")
                     .arg(QLocale::c().toString(pressed, u"ddd d MMM"), pressed.toString(u"HH:mm:ss")) });
}

void TestAlarmNotificationWindow::flashTimersHandOverEveryHalfSecond()
{
    AlarmNotificationWindow& window = open(1);
    auto marks = [&] {
        return control<QLineEdit>(window, "EX_RIGHT_TEXTBOX")->palette().color(QPalette::Text);
    };
    QCOMPARE(marks(), ui::toQColor(ui::kRed));
    QVERIFY(tick(window, "FLASH_ON_TIMER"));
    QCOMPARE(marks(), ui::toQColor(ui::kRed));
    QVERIFY(!isRunning(window, "FLASH_ON_TIMER"));
    QVERIFY(tick(window, "FLASH_OFF_TIMER"));
    QCOMPARE(marks(), ui::toQColor(ui::kBlack));
    QCOMPARE(control<QLineEdit>(window, "EX_LEFT_TEXTBOX")->palette().color(QPalette::Text),
             ui::toQColor(ui::kBlack));
    QVERIFY(!isRunning(window, "FLASH_OFF_TIMER"));
    QVERIFY(tick(window, "FLASH_ON_TIMER"));
    QCOMPARE(marks(), ui::toQColor(ui::kRed));
}

void TestAlarmNotificationWindow::storedAutoCloseCountsDownAndClosesOnTheEleventhTick()
{
    rig_->backend.values.insert(QStringLiteral("ALARM_6_MESSAGE_AUTO_CLOSE_TICKBOX"), QStringLiteral("1"));
    AlarmNotificationWindow& window = open(6);
    QCOMPARE(countdownText(), QStringLiteral("ON"));
    QCOMPARE(startStop().text(), QStringLiteral("STOP"));
    QVERIFY(startStop().isEnabled());
    QVERIFY(isRunning(window, kCountdownTimer));
    QCOMPARE(countDown(),
             (QStringList { "10", "09", "08", "07", "06", "05", "04", "03", "02", "01", "NOW" }));
    QVERIFY(window_.isNull() || !window_->isVisible());
    QCOMPARE(rig_->backend.value(QStringLiteral("ALARM_6_MESSAGE_AUTO_CLOSE_TICKBOX")), QStringLiteral("1"));
}

void TestAlarmNotificationWindow::tickingAutoCloseShowsOnAndStartCounts()
{
    AlarmNotificationWindow& window = open(1);
    QTest::mouseClick(&autoClose(), Qt::LeftButton);
    QCOMPARE(countdownText(), QStringLiteral("ON"));
    QVERIFY(startStop().isEnabled());
    QCOMPARE(startStop().text(), QStringLiteral("START"));
    QVERIFY(!isRunning(window, kCountdownTimer));
    QTest::mouseClick(&startStop(), Qt::LeftButton);
    QCOMPARE(startStop().text(), QStringLiteral("STOP"));
    QCOMPARE(countdownText(), QStringLiteral("10"));
    QCOMPARE(countDown().size(), 11);
    QVERIFY(!window_ || !window_->isVisible());
}

void TestAlarmNotificationWindow::clearingAutoCloseStopsTheCount()
{
    rig_->backend.values.insert(QStringLiteral("ALARM_1_MESSAGE_AUTO_CLOSE_TICKBOX"), QStringLiteral("1"));
    AlarmNotificationWindow& window = open(1);
    QVERIFY(tick(window, kCountdownTimer));
    QTest::mouseClick(&autoClose(), Qt::LeftButton);
    QCOMPARE(countdownText(), QStringLiteral("OFF"));
    QVERIFY(!isRunning(window, kCountdownTimer));
    QVERIFY(!startStop().isEnabled());
    QCOMPARE(startStop().text(), QStringLiteral("START"));
}

void TestAlarmNotificationWindow::autoCloseRestartsFromElevenAfterStop()
{
    rig_->backend.values.insert(QStringLiteral("ALARM_2_MESSAGE_AUTO_CLOSE_TICKBOX"), QStringLiteral("1"));
    AlarmNotificationWindow& window = open(2);
    for (int i = 0; i < 4; ++i)
        QVERIFY(tick(window, kCountdownTimer));
    QCOMPARE(countdownText(), QStringLiteral("07"));
    QTest::mouseClick(&startStop(), Qt::LeftButton);
    QCOMPARE(countdownText(), QStringLiteral("OFF"));
    QVERIFY(!isRunning(window, kCountdownTimer));
    QTest::mouseClick(&startStop(), Qt::LeftButton);
    QCOMPARE(window.countdown(), 11);
    QCOMPARE(countDown(),
             (QStringList { "10", "09", "08", "07", "06", "05", "04", "03", "02", "01", "NOW" }));
}

void TestAlarmNotificationWindow::doubleClickOnTheCountdown_data()
{
    QTest::addColumn<QString>("storedAutoClose");
    QTest::addColumn<bool>("runningAfter");
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<QString>("shownAfterATick");
    QTest::newRow("while counting: stops, button still STOP") << "1" << false << "OFF"
                                                              << "OFF";
    QTest::newRow("stopped with auto-close off: ticks without effect") << "0" << true << "10"
                                                                       << "10";
}

void TestAlarmNotificationWindow::doubleClickOnTheCountdown()
{
    QFETCH(QString, storedAutoClose);
    QFETCH(bool, runningAfter);
    QFETCH(QString, shownAfter);
    QFETCH(QString, shownAfterATick);
    rig_->backend.values.insert(QStringLiteral("ALARM_7_MESSAGE_AUTO_CLOSE_TICKBOX"), storedAutoClose);
    AlarmNotificationWindow& window = open(7);
    const QString caption = startStop().text();
    QTest::mouseDClick(control<QLineEdit>(window, "AUTOCLOSE_COUNTDOWN_TB"), Qt::LeftButton);
    QCOMPARE(isRunning(window, kCountdownTimer), runningAfter);
    QCOMPARE(countdownText(), shownAfter);
    QCOMPARE(window.countdown(), 11);
    QCOMPARE(startStop().text(), caption);
    QCOMPARE(ui::switchValue(autoClose()), storedAutoClose.toInt());
    tick(window, kCountdownTimer);
    QCOMPARE(countdownText(), shownAfterATick);
    if (caption == QStringLiteral("STOP")) {
        // The button, still reading STOP, then only sets START and OFF.
        QTest::mouseClick(&startStop(), Qt::LeftButton);
        QCOMPARE(startStop().text(), QStringLiteral("START"));
        QCOMPARE(countdownText(), QStringLiteral("OFF"));
        QVERIFY(!isRunning(window, kCountdownTimer));
    }
}

void TestAlarmNotificationWindow::everyCloseSavesPlaceAndAutoClose_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("writes");
    QTest::newRow("OK writes, then the close writes again") << "ok" << 6;
    QTest::newRow("close box") << "close box" << 3;
    QTest::newRow("countdown") << "countdown" << 3;
}

void TestAlarmNotificationWindow::everyCloseSavesPlaceAndAutoClose()
{
    QFETCH(QString, route);
    QFETCH(int, writes);
    if (route == u"countdown")
        rig_->backend.values.insert(QStringLiteral("ALARM_8_MESSAGE_AUTO_CLOSE_TICKBOX"),
                                    QStringLiteral("1"));
    AlarmNotificationWindow& window = open(8);
    window.move(200, 100);
    if (route == u"ok")
        QTest::mouseClick(control<QPushButton>(window, "OK_BUTTON"), Qt::LeftButton);
    else if (route == u"close box")
        window.close();
    else
        countDown();
    QVERIFY(!window_ || !window_->isVisible());
    const QString autoCloseText = route == u"countdown" ? QStringLiteral("1") : QStringLiteral("0");
    const QStringList once { "ALARM_8-NOTIFICATION-MESSAGE-Left=3000",
                             "ALARM_8-NOTIFICATION-MESSAGE-Top=1500",
                             "ALARM_8_MESSAGE_AUTO_CLOSE_TICKBOX=" + autoCloseText };
    QCOMPARE(rig_->backend.writeLog, writes == 6 ? once + once : once);
}

void TestAlarmNotificationWindow::autoCloseChoiceIsKeptPerSlot()
{
    open(3);
    QTest::mouseClick(&autoClose(), Qt::LeftButton);
    window_->close();
    QVERIFY(!rig_->backend.has(QStringLiteral("ALARM_4_MESSAGE_AUTO_CLOSE_TICKBOX")));
    QCOMPARE(rig_->state.slot(3).autoClose, 0);
    open(3);
    QCOMPARE(ui::switchValue(autoClose()), 1);
    QCOMPARE(countdownText(), QStringLiteral("ON"));
    window_->close();
    open(4);
    QCOMPARE(ui::switchValue(autoClose()), 0);
}

void TestAlarmNotificationWindow::aMovedWindowReopensWhereItWasLeft()
{
    open(9).move(120, 80);
    window_->close();
    AlarmNotificationWindow& again = open(9);
    QCOMPARE(again.frameGeometry().topLeft(), QPoint(120, 80));
    QCOMPARE(again.size(), QSize(577, 203));
}

void TestAlarmNotificationWindow::firingAgainSaysWhenInOneLineThatFits_data()
{
    QTest::addColumn<QString>("firedAt");
    QTest::newRow("24-hour") << "Tue 5 Mar 07:30:00";
    QTest::newRow("12-hour") << "Wed 15 Nov 10:13:23 PM";
    QTest::newRow("Greek") << "Sat 28 Sep 08:08:08 \u03bc\u03bc";
}

void TestAlarmNotificationWindow::firingAgainSaysWhenInOneLineThatFits()
{
    QFETCH(QString, firedAt);
    AlarmSlot& slot = rig_->state.slot(2);
    slot.runCommand = 0;
    AlarmNotificationWindow& window = open(2);
    auto* line = control<QLabel>(window, "FIRED_AGAIN_LABEL");
    QVERIFY(!line->isVisible());
    // What fired this time is what the window shows.
    slot.runCommand = 1;
    slot.command = QStringLiteral("backup --daily");
    window.showFiredAgain(firedAt);
    QVERIFY(line->isVisible());
    QCOMPARE(line->text(), QStringLiteral("Fired again ") + firedAt);
    QVERIFY2(QFontMetrics(line->font()).horizontalAdvance(line->text()) <= line->contentsRect().width(),
             qPrintable(QStringLiteral("%1 px font").arg(line->font().pixelSize())));
    QCOMPARE(control<QLineEdit>(window, "ALARM_RUN_COMMAND_TEXTBOX")->text(),
             QStringLiteral("backup --daily"));
    QVERIFY(control<QPushButton>(window, "RUN_NOW_BUTTON")->isEnabled());
}

void TestAlarmNotificationWindow::longTextsShowTheirStart()
{
    QString words;
    for (int i = 1; words.size() < 196; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    AlarmSlot& slot = rig_->state.slot(4);
    slot.name = QStringLiteral("Morning alarm for the early train to the city, platform four");
    slot.message = words.left(196) + QStringLiteral(" END");
    slot.runCommand = 1;
    slot.command = QStringLiteral("sh -c 'echo ") + words + QStringLiteral("> alarm.log'");
    AlarmNotificationWindow& window = open(4);
    for (const bool firedAgain : { false, true }) {
        if (firedAgain) {
            // Shown anew when the slot fires again: the texts as they were, and one that changed.
            slot.message = QStringLiteral("Again: ") + slot.message;
            window.showFiredAgain(QStringLiteral("Tue 5 Mar 07:30:00"));
        }
        for (const char* name :
             { "ALARM_NAME_TEXTBOX", "ALARM_NOTIFICATION_MESSAGE_TEXTBOX", "ALARM_RUN_COMMAND_TEXTBOX" }) {
            auto* box = control<QLineEdit>(window, name);
            QVERIFY2(box->fontMetrics().horizontalAdvance(box->text()) > box->width(), name);
            QVERIFY2(box->cursorPosition() == 0, name);
        }
    }
    QCOMPARE(control<QLineEdit>(window, "ALARM_NOTIFICATION_MESSAGE_TEXTBOX")->text(), slot.message);
}

void TestAlarmNotificationWindow::aNoticeTakesInputOverModalWindowsAndOutlivesThem_data()
{
    QTest::addColumn<bool>("toldBeforeTheWindowOpened");
    QTest::newRow("told just before the window opened") << true;
    QTest::newRow("told over the window, by RUN NOW") << false;
}

void TestAlarmNotificationWindow::aNoticeTakesInputOverModalWindowsAndOutlivesThem()
{
    QFETCH(bool, toldBeforeTheWindowOpened);
    NoticeWindow notice(rig_->windows);
    QWidget clock;
    notice.keepOver(clock);
    clock.winId();
    const WindowServices services { rig_->store,      rig_->state,    rig_->windows,
                                    rig_->timeFormat, rig_->launcher, notice };
    rig_->state.slot(5).runCommand = 1;
    rig_->state.slot(6).runCommand = 1;
    rig_->launcher.refusal = QStringLiteral("no program named \"Run\" was found on PATH");
    if (toldBeforeTheWindowOpened)
        notice.tell(QStringLiteral("VQ-DBD - V3 - COMMAND NOT STARTED"), QStringLiteral("alarm 5: first"));
    window_ = AlarmNotificationWindow::showOver(services, 5, nullptr);
    const ExposureLog exposure(*window_->windowHandle(), rig_->windows.calls);
    if (!toldBeforeTheWindowOpened)
        QTest::mouseClick(control<QPushButton>(*window_, "RUN_NOW_BUTTON"), Qt::LeftButton);
    QVERIFY(notice.isVisible());
    // Once the modal window is on the screen, the notice is kept with it, in the clock's band (an
    // ordinary one here), raised and given the focus, in front of it.
    const QString own = QString::number(notice.winId());
    const QStringList front { QStringLiteral("exposed"),
                              "over:" + own + u':' + QString::number(window_->winId()), "normal:" + own,
                              "raise:" + own, "activate:" + own };
    QTRY_COMPARE(rig_->windows.calls.mid(rig_->windows.calls.lastIndexOf(QStringLiteral("exposed"))), front);

    // A second modal window opens above and has a problem of its own: the same window lists it last.
    QPointer<AlarmNotificationWindow> above = AlarmNotificationWindow::showOver(services, 6, nullptr);
    QTest::mouseClick(control<QPushButton>(*above, "RUN_NOW_BUTTON"), Qt::LeftButton);
    QCOMPARE(notice.notices().size(), 2);
    QVERIFY2(notice.notices().at(1).startsWith(QStringLiteral("COMMAND NOT STARTED\nRUN NOW of alarm 6: ")),
             qPrintable(notice.notices().at(1)));

    // The window above closes with the notice unread: the notice stays.
    above->close();
    delete above;
    QVERIFY(notice.isVisible());

    // Under the modal window still open, the notice takes a click that comes through the window
    // system, as the user's would.
    auto* dismiss = notice.findChild<QPushButton*>(QStringLiteral("DISMISS_BUTTON"));
    QTest::mouseClick(notice.windowHandle(), Qt::LeftButton, {}, dismiss->geometry().center());
    QTRY_VERIFY(!notice.isVisible());
    QVERIFY(notice.notices().isEmpty());
    QVERIFY(window_->isVisible());
}

} // namespace

QTEST_MAIN(TestAlarmNotificationWindow)
#include "tst_notification_window.moc"

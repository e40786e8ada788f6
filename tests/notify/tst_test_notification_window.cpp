// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotificationRig.h"
#include "notify/AlarmNotificationWindow.h"
#include "notify/TestNotificationWindow.h"
#include "ui/Design.h"
#include "ui/Switches.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace vqdbd;
using test::control;
using test::isRunning;
using test::tick;

namespace {

class TestTestNotificationWindow final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void everyOpeningStartsFromTheDesign();
    void runCommandBoxUnlocksTheCommand_data();
    void runCommandBoxUnlocksTheCommand();
    void runNowLaunchesTheTypedCommand_data();
    void runNowLaunchesTheTypedCommand();
    void aCommandThatWillNotRunIsSaidWhileTypedAndByRunNow_data();
    void aCommandThatWillNotRunIsSaidWhileTypedAndByRunNow();
    void autoCloseCountsButIsNeverStored();
    void storesOnlyItsLeftAndTop_data();
    void storesOnlyItsLeftAndTop();

private:
    vqdbd::TestNotificationWindow& open();
    QCheckBox& runCommand() { return *control<QCheckBox>(*window_, "ALARM_RUN_COMMAND_TICKBOX"); }
    QCheckBox& runHidden() { return *control<QCheckBox>(*window_, "RUN_HIDDEN_TICKBOX"); }
    QLineEdit& command() { return *control<QLineEdit>(*window_, "ALARM_RUN_COMMAND_TEXTBOX"); }
    QPushButton& runNow() { return *control<QPushButton>(*window_, "RUN_NOW_BUTTON"); }

    std::unique_ptr<test::NotificationRig> rig_;
    QPointer<vqdbd::TestNotificationWindow> window_;
};

void TestTestNotificationWindow::init()
{
    rig_ = std::make_unique<test::NotificationRig>();
}

void TestTestNotificationWindow::cleanup()
{
    delete window_;
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

vqdbd::TestNotificationWindow& TestTestNotificationWindow::open()
{
    delete window_;
    window_ = vqdbd::TestNotificationWindow::showOver(rig_->services(), nullptr);
    return *window_;
}

void TestTestNotificationWindow::everyOpeningStartsFromTheDesign()
{
    // A slot's fields in the live state never reach the test window.
    rig_->state.slot(1).name = QStringLiteral("Tea");
    rig_->state.slot(1).runCommand = 1;
    for (int opening = 0; opening < 2; ++opening) {
        vqdbd::TestNotificationWindow& window = open();
        QCOMPARE(window.windowTitle(),
                 QStringLiteral("VQ-DBD - V3 - !!! ALARM TEST NOTIFICATION - MANUAL COMMAND "
                                "ONLY - SETTINGS NOT SAVED !!!"));
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(67, 67));
        QCOMPARE(window.size(), QSize(577, 203));
        QCOMPARE(control<QLineEdit>(window, "ALARM_NUMBER_LEFT_TEXTBOX")->text(), QStringLiteral("T"));
        QCOMPARE(control<QLineEdit>(window, "ALARM_NUMBER_RIGHT_TEXTBOX")->text(), QStringLiteral("T"));
        QCOMPARE(control<QLineEdit>(window, "ALARM_NAME_TEXTBOX")->text(),
                 QStringLiteral("!!! TEST ALARM NOTIFICATION !!!"));
        auto* message = control<QLineEdit>(window, "ALARM_NOTIFICATION_MESSAGE_TEXTBOX");
        QCOMPARE(message->text(), QStringLiteral("MANUAL COMMAND ONLY - SETTINGS NOT SAVED"));
        QCOMPARE(message->font().pixelSize(), 13); // 9.75 pt, against the slot windows' 11.25 pt
        QCOMPARE(control<QLineEdit>(window, "AUTOCLOSE_COUNTDOWN_TB")->text(), QStringLiteral("OFF"));
        QVERIFY(!control<QPushButton>(window, "START_STOP_BUTTON")->isEnabled());
        QVERIFY(isRunning(window, "FLASH_ON_TIMER"));
        QVERIFY(runCommand().isEnabled());
        QCOMPARE(ui::switchValue(runCommand()), 0);
        QCOMPARE(command().text(), QStringLiteral("Run Command"));
        QVERIFY(command().isReadOnly());
        QVERIFY(!runHidden().isEnabled());
        QVERIFY(!runNow().isEnabled());
        QCOMPARE(ui::switchValue(*control<QCheckBox>(window, "ALARM_MESSAGE_AUTO_CLOSE_TICKBOX")), 0);
        // What the user changes is forgotten by the next opening.
        QTest::mouseClick(&runCommand(), Qt::LeftButton);
        command().setText(QStringLiteral("xmessage hi"));
        QTest::mouseClick(control<QCheckBox>(window, "ALARM_MESSAGE_AUTO_CLOSE_TICKBOX"), Qt::LeftButton);
        window.close();
    }
}

void TestTestNotificationWindow::runCommandBoxUnlocksTheCommand_data()
{
    QTest::addColumn<bool>("tickFirst");
    QTest::newRow("ticked") << false;
    QTest::newRow("ticked, then cleared") << true;
}

void TestTestNotificationWindow::runCommandBoxUnlocksTheCommand()
{
    QFETCH(bool, tickFirst);
    open();
    QTest::mouseClick(&runCommand(), Qt::LeftButton);
    if (tickFirst) {
        QTest::mouseClick(&runHidden(), Qt::LeftButton);
        QCOMPARE(ui::switchValue(runHidden()), 1);
        QTest::mouseClick(&runCommand(), Qt::LeftButton);
    }
    const bool ticked = !tickFirst;
    QCOMPARE(ui::switchValue(runCommand()), ticked ? 1 : 0);
    QCOMPARE(command().isReadOnly(), !ticked);
    QCOMPARE(runHidden().isEnabled(), ticked);
    QCOMPARE(ui::switchValue(runHidden()), 0);
    QCOMPARE(runNow().isEnabled(), ticked);
}

void TestTestNotificationWindow::runNowLaunchesTheTypedCommand_data()
{
    QTest::addColumn<bool>("hidden");
    QTest::newRow("normal") << false;
    QTest::newRow("hidden") << true;
}

void TestTestNotificationWindow::runNowLaunchesTheTypedCommand()
{
    QFETCH(bool, hidden);
    open();
    QTest::mouseClick(&runCommand(), Qt::LeftButton);
    command().setText(QStringLiteral("xmessage -center \"Tea is ready\""));
    if (hidden)
        QTest::mouseClick(&runHidden(), Qt::LeftButton);
    QTest::mouseClick(&runNow(), Qt::LeftButton);
    QCOMPARE(rig_->launcher.starts.size(), 1);
    QCOMPARE(rig_->launcher.starts.at(0).program, QStringLiteral("xmessage"));
    QCOMPARE(rig_->launcher.starts.at(0).arguments, (QStringList { "-center", "Tea is ready" }));
    QCOMPARE(rig_->launcher.starts.at(0).style, hidden ? WindowStyle::Hidden : WindowStyle::Normal);
    command().setText(QStringLiteral("xmessage 'oops"));
    QTest::mouseClick(&runNow(), Qt::LeftButton);
    QCOMPARE(rig_->launcher.starts.size(), 1);
    QCOMPARE(rig_->notice.texts.size(), 1);
    QVERIFY(rig_->notice.texts.at(0).startsWith(QStringLiteral("RUN NOW of the test notification window: ")));
}

void TestTestNotificationWindow::aCommandThatWillNotRunIsSaidWhileTypedAndByRunNow_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason"); // empty: the line runs
    QTest::newRow("variables") << "echo $HOME ${HOME}"
                               << "";
    for (const char* parameter : { "$$", "$1", "$?", "$#", "$!" })
        QTest::newRow(parameter) << QStringLiteral("echo \"%1\"").arg(parameter)
                                 << QStringLiteral("special parameter \"%1\"").arg(parameter);
}

void TestTestNotificationWindow::aCommandThatWillNotRunIsSaidWhileTypedAndByRunNow()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    auto* note = control<QLabel>(open(), "COMMAND_NOTE_LABEL");
    QTest::mouseClick(&runCommand(), Qt::LeftButton);
    command().clear();
    QTest::keyClicks(&command(), line);
    QCOMPARE(note->isVisible(), !reason.isEmpty());
    QVERIFY(note->toolTip().startsWith(QStringLiteral("Will not run: ")) == !reason.isEmpty());
    QVERIFY2(note->toolTip().contains(reason) && command().toolTip() == note->toolTip(),
             qPrintable(note->toolTip()));
    QVERIFY(note->sizeHint().width() <= note->width());
    // RUN NOW starts nothing and says why.
    QTest::mouseClick(&runNow(), Qt::LeftButton);
    QCOMPARE(rig_->launcher.starts.size(), reason.isEmpty() ? 1 : 0);
    QCOMPARE(rig_->notice.texts.size(), reason.isEmpty() ? 0 : 1);
    QVERIFY(rig_->notice.texts.join(QString()).contains(reason));
    QTest::mouseClick(&runCommand(), Qt::LeftButton);
    QVERIFY(!note->isVisible());
}

void TestTestNotificationWindow::autoCloseCountsButIsNeverStored()
{
    vqdbd::TestNotificationWindow& window = open();
    QTest::mouseClick(control<QCheckBox>(window, "ALARM_MESSAGE_AUTO_CLOSE_TICKBOX"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(window, "START_STOP_BUTTON"), Qt::LeftButton);
    for (int i = 0; i < 10; ++i)
        QVERIFY(tick(window, "ALARM_MESSAGE_AUTOCLOSE_TIMER"));
    QVERIFY(window.isVisible());
    QVERIFY(tick(window, "ALARM_MESSAGE_AUTOCLOSE_TIMER"));
    QVERIFY(!window_ || !window_->isVisible());
    for (const QString& written : std::as_const(rig_->backend.writeLog))
        QVERIFY2(written.startsWith(QStringLiteral("ALARM-TEST-NOTIFICATION-MESSAGE-")), qPrintable(written));
}

void TestTestNotificationWindow::storesOnlyItsLeftAndTop_data()
{
    QTest::addColumn<bool>("byOk");
    QTest::newRow("OK") << true;
    QTest::newRow("close box") << false;
}

void TestTestNotificationWindow::storesOnlyItsLeftAndTop()
{
    QFETCH(bool, byOk);
    open().move(45, 30);
    if (byOk)
        QTest::mouseClick(control<QPushButton>(*window_, "OK_BUTTON"), Qt::LeftButton);
    else
        window_->close();
    const QStringList once { "ALARM-TEST-NOTIFICATION-MESSAGE-Left=675",
                             "ALARM-TEST-NOTIFICATION-MESSAGE-Top=450" };
    QCOMPARE(rig_->backend.writeLog, byOk ? once + once : once);
    QCOMPARE(open().frameGeometry().topLeft(), QPoint(45, 30));
    // The slot windows keep their own places.
    delete window_;
    QPointer<AlarmNotificationWindow> slotWindow
        = AlarmNotificationWindow::showOver(rig_->services(), 1, nullptr);
    QCOMPARE(slotWindow->frameGeometry().topLeft(), QPoint(67, 67));
    delete slotWindow;
}

} // namespace

QTEST_MAIN(TestTestNotificationWindow)
#include "tst_test_notification_window.moc"

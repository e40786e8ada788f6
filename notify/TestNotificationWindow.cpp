// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestNotificationWindow.h"

#include "NotificationDesign.h"
#include "alarms/CommandLaunch.h"
#include "platform/WindowManager.h"
#include "state/Captions.h"
#include "state/Geometry.h"
#include "state/LiveState.h"
#include "ui/WindowClosing.h"
#include "ui/WindowPlacement.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vqdbd {

QString TestNotificationWindow::windowName()
{
    return QStringLiteral("VQ_DBD_ALARM_TEST_NOTIFICATION_WINDOW");
}

QString TestNotificationWindow::title()
{
    return captions::testNotification();
}

TestNotificationWindow::TestNotificationWindow(const WindowServices& services, QWidget* owner)
    : NotificationWindowBase(services, owner, testNotificationDesign(), QSize(8655, 4305))
{
    setObjectName(windowName());
    setWindowTitle(title());
    // Set from code or clicked, the run-command box runs its rule whenever its value changes.
    ui::whenValueChanges(*content_.runCommand, *this, [this] { onRunCommandTickboxChanged(); });
    connect(content_.command, &QLineEdit::textChanged, this,
            &TestNotificationWindow::onRunCommandTextboxChanged);
}

TestNotificationWindow* TestNotificationWindow::showOver(const WindowServices& services, QWidget* owner)
{
    auto* window = new TestNotificationWindow(services, owner);
    window->load();
    window->showModal();
    return window;
}

void TestNotificationWindow::load()
{
    ui::placeFromStore(*this, services_.store, windows::testNotification(), services_.windows);
    content_.numberLeft->setText(LiveState::testNumberText());
    content_.numberRight->setText(LiveState::testNumberText());
    startTimers();
    applyAutoCloseAtLoad();
    // The run-command box is clear as designed: the command box stays locked, Run Hidden off.
    content_.command->setReadOnly(true);
    content_.runHidden->setEnabled(false);
    ui::setSwitchValue(*content_.runHidden, 0);
    enableRunNowFromRunCommand();
}

void TestNotificationWindow::onRunCommandTickboxChanged()
{
    const bool ticked = ui::isOn(*content_.runCommand);
    content_.command->setReadOnly(!ticked);
    content_.runHidden->setEnabled(ticked);
    if (!ticked)
        ui::setSwitchValue(*content_.runHidden, 0);
    // RUN NOW follows the box, so that a command typed here can be tried at once.
    content_.runNow->setEnabled(ticked);
    showCommandNote();
}

void TestNotificationWindow::onRunCommandTextboxChanged()
{
    showCommandNote();
}

void TestNotificationWindow::showCommandNote()
{
    const QString note
        = ui::isOn(*content_.runCommand) ? commandLineNote(content_.command->text()) : QString();
    ui::showNote(*findChild<QLabel*>(QStringLiteral("COMMAND_NOTE_LABEL")), note);
    content_.command->setToolTip(note);
}

void TestNotificationWindow::saveOnClosing()
{
    ui::savePlace(*this, services_.store, windows::testNotification());
}

QString TestNotificationWindow::launchOrigin() const
{
    return QStringLiteral("RUN NOW of the test notification window");
}

void TestNotificationWindow::keyPressEvent(QKeyEvent* event)
{
    if (!ui::closeOnEscape(*this, *event))
        NotificationWindowBase::keyPressEvent(event);
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmNotificationWindow.h"

#include "NotificationDesign.h"
#include "platform/WindowManager.h"
#include "state/Captions.h"
#include "state/Geometry.h"
#include "state/LiveState.h"
#include "state/SettingsStore.h"
#include "ui/FontFit.h"
#include "ui/WindowPlacement.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

namespace vqdbd {

namespace {

// Gives a label its designed font, made smaller a pixel at a time until the whole text fits: a
// 12-hour time text is longer than the design allows for.
void fitText(QLabel& label, const QFont& font)
{
    label.setFont(ui::fitFont(font, ui::kSmallestReadablePixels, [&label](const QFont& candidate) {
        return QFontMetrics(candidate).horizontalAdvance(label.text()) <= label.contentsRect().width();
    }));
}

} // namespace

QString AlarmNotificationWindow::windowName(int slot)
{
    return QStringLiteral("VQ_DBD_ALARM_%1_NOTIFICATION_WINDOW").arg(slot);
}

QString AlarmNotificationWindow::titleFor(const QString& alarmName)
{
    return captions::alarmNotification(alarmName);
}

AlarmNotificationWindow::AlarmNotificationWindow(const WindowServices& services, int slot, QWidget* owner)
    : NotificationWindowBase(services, owner, notificationDesign(), QSize(8655, 3045))
    , slot_(slot)
{
    setObjectName(windowName(slot));
    firedAgain_ = findChild<QLabel*>(QStringLiteral("FIRED_AGAIN_LABEL"), Qt::FindDirectChildrenOnly);
    Q_ASSERT(firedAgain_);
    firedAgainFont_ = firedAgain_->font();
    setWindowTitle(captions::alarmNotification());
}

AlarmNotificationWindow* AlarmNotificationWindow::showOver(const WindowServices& services, int slot,
                                                           QWidget* owner)
{
    auto* window = new AlarmNotificationWindow(services, slot, owner);
    window->load();
    window->showModal();
    return window;
}

void AlarmNotificationWindow::load()
{
    ui::placeFromStore(*this, services_.store, windows::notification(slot_), services_.windows);
    ui::setSwitchValue(*content_.autoClose,
                       services_.store.readSwitch(slotKey(SlotField::AutoClose, slot_), 0));

    showSlot();
    startTimers();
    applyAutoCloseAtLoad();
    enableRunNowFromRunCommand();
}

void AlarmNotificationWindow::showSlot()
{
    const AlarmSlot& alarm = services_.state.slot(slot_);
    content_.name->setText(alarm.name);
    content_.message->setText(alarm.message);
    ui::setSwitchValue(*content_.runCommand, alarm.runCommand);
    content_.command->setText(alarm.command);
    ui::setSwitchValue(*content_.runHidden, alarm.runHidden);
    setWindowTitle(titleFor(content_.name->text()));

    content_.numberLeft->setText(LiveState::slotNumberText(slot_));
    content_.numberRight->setText(LiveState::slotNumberText(slot_));
}

void AlarmNotificationWindow::showFiredAgain(const QString& firedAt)
{
    // What the firing just ran may have been changed since the window opened.
    showSlot();
    enableRunNowFromRunCommand();
    firedAgain_->setText(QStringLiteral("Fired again ") + firedAt);
    fitText(*firedAgain_, firedAgainFont_);
    firedAgain_->show();
    bringBack();
}

void AlarmNotificationWindow::saveOnClosing()
{
    const SettingsBatch batch(services_.store);
    ui::savePlace(*this, services_.store, windows::notification(slot_));
    services_.store.saveSwitch(slotKey(SlotField::AutoClose, slot_), ui::switchValue(*content_.autoClose));
}

QString AlarmNotificationWindow::launchOrigin() const
{
    return QStringLiteral("RUN NOW of alarm %1").arg(slot_);
}

} // namespace vqdbd

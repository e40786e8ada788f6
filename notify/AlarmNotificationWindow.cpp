#include "AlarmNotificationWindow.h"

#include "NotificationDesign.h"
#include "platform/WindowManager.h"
#include "state/Geometry.h"
#include "state/LiveState.h"
#include "state/SettingsStore.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QLineEdit>

namespace vqdbd {

QString AlarmNotificationWindow::windowName(int slot)
{
    return QStringLiteral("VQ_DBD_ALARM_%1_NOTIFICATION_WINDOW").arg(slot);
}

QString AlarmNotificationWindow::titleFor(const QString& alarmName)
{
    return QStringLiteral("VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! - ") + alarmName;
}

AlarmNotificationWindow::AlarmNotificationWindow(const NotificationServices& services, int slot,
                                                 QWidget* owner)
    : NotificationWindowBase(services, owner, notificationDesign(), QSize(8655, 3045))
    , slot_(slot)
{
    setObjectName(windowName(slot));
    setWindowTitle(QStringLiteral("VQ-DBD - V3 - !!! ALARM NOTIFICATION - !!! "));
}

AlarmNotificationWindow* AlarmNotificationWindow::showOver(const NotificationServices& services, int slot,
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
    ui::setSwitchValue(*autoClose_, services_.store.readSwitch(slotKey(SlotField::AutoClose, slot_), 0));

    const AlarmSlot& alarm = services_.state.slot(slot_);
    name_->setText(alarm.name);
    message_->setText(alarm.message);
    ui::setSwitchValue(*runCommand_, alarm.runCommand);
    command_->setText(alarm.command);
    ui::setSwitchValue(*runHidden_, alarm.runHidden);
    setWindowTitle(titleFor(name_->text()));

    numberLeft_->setText(LiveState::slotNumberText(slot_));
    numberRight_->setText(LiveState::slotNumberText(slot_));

    startTimers();
    applyAutoCloseAtLoad();
    enableRunNowFromRunCommand();
}

void AlarmNotificationWindow::savePlaceAndAutoClose()
{
    const SettingsBatch batch(services_.store);
    ui::savePlace(*this, services_.store, windows::notification(slot_));
    services_.store.saveSwitch(slotKey(SlotField::AutoClose, slot_), ui::switchValue(*autoClose_));
}

void AlarmNotificationWindow::saveOnOk()
{
    savePlaceAndAutoClose();
}

void AlarmNotificationWindow::saveOnClose()
{
    savePlaceAndAutoClose();
}

QString AlarmNotificationWindow::launchOrigin() const
{
    return QStringLiteral("RUN NOW of alarm %1").arg(slot_);
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsWindow.h"

#include "AlarmSettingsWindow.h"
#include "ColoursWindow.h"
#include "DialogSupport.h"
#include "platform/WindowManager.h"
#include "state/Captions.h"
#include "state/LiveState.h"
#include "state/ProgramIdentity.h"
#include "state/SettingKeys.h"
#include "state/SettingsStore.h"
#include "state/ValueForms.h"
#include "ui/Design.h"
#include "ui/Switches.h"
#include "ui/WindowPlacement.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <vector>

namespace vqdbd {

using ui::ControlDesign;
using ui::ControlKind;

const QString SettingsWindow::kMakerName = QStringLiteral("VELA-QUILL");
const QString SettingsWindow::kContactAddress = QStringLiteral("vq-dbd@vela-quill.example");

namespace {

// The window as designed, in the order of building (and so of Tab).
std::vector<ControlDesign> settingsDesign()
{
    return {
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_1"), ControlKind::Label, QStringLiteral("VELA-QUILL"),
                          120, 120, 2295, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_2"), ControlKind::Label,
                          QStringLiteral("DRUM-BEAT-DIAL"), 2520, 120, 2415, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_3"), ControlKind::Label, QStringLiteral("VQ-DBD"),
                          5040, 120, 1455, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("VQ_DBD_VERSION"), ControlKind::Label,
                          QStringLiteral("Version ") + QLatin1String(identity::kVersion), 6600, 120, 1695,
                          315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("VQ_DBD_CREATOR"), ControlKind::Label,
                          QStringLiteral("Created By ") + SettingsWindow::kMakerName, 120, 480, 4815, 315,
                          ui::kTitleLook),
        ui::controlDesign(QStringLiteral("OK_BUTTON"), ControlKind::Button, QStringLiteral("OK"), 6240, 960,
                          1935, 615),
        ui::controlDesign(settings::kAlwaysOnTop.name(), ControlKind::CheckBox,
                          QStringLiteral("Always On Top"), 2280, 1080, 1455, 375),
        ui::controlDesign(QStringLiteral("ALARM_SETTINGS_BUTTON"), ControlKind::Button,
                          QStringLiteral("Alarm Settings"), 4080, 1080, 1815, 375),
        ui::controlDesign(QStringLiteral("COLORS_BUTTON"), ControlKind::Button,
                          QStringLiteral("Clock Colors"), 240, 1080, 1695, 375),
        // Built but never shown, and without behaviour: no key belongs to them.
        ui::controlDesign(settings::kEnableAlarms.name(), ControlKind::CheckBox,
                          QStringLiteral("Enable Alarm Settings"), 240, 2280, 1335, 375,
                          { .visible = false }),
        ui::controlDesign(QStringLiteral("SHOW_IN_TASKBAR_TICKBOX"), ControlKind::CheckBox,
                          QStringLiteral("Show Drum-Beat-Dial In The Taskbar"), 2160, 2280, 3135, 255,
                          { .enabled = false, .visible = false }),
    };
}

} // namespace

SettingsWindow::SettingsWindow(const WindowServices& services, QWidget* owner)
    : Dialog(services, owner)
{
    setObjectName(QStringLiteral("VQ_DBD_SETTINGS"));
    setWindowTitle(captions::settings());

    ui::createControls(*this, settingsDesign());
    creator_ = &ui::control<QLabel>(*this, QStringLiteral("VQ_DBD_CREATOR"));
    creator_->setCursor(Qt::PointingHandCursor);
    creator_->installEventFilter(this);
    okButton_ = &ui::control<QPushButton>(*this, QStringLiteral("OK_BUTTON"));
    alwaysOnTop_ = &ui::control<QCheckBox>(*this, settings::kAlwaysOnTop.name());
    alwaysOnTop_->setChecked(true);
    auto* alarmSettings = &ui::control<QPushButton>(*this, QStringLiteral("ALARM_SETTINGS_BUTTON"));
    auto* colours = &ui::control<QPushButton>(*this, QStringLiteral("COLORS_BUTTON"));

    setTabOrder(okButton_, alwaysOnTop_);
    setTabOrder(alwaysOnTop_, alarmSettings);
    setTabOrder(alarmSettings, colours);
    okButton_->setFocus();

    connect(okButton_, &QPushButton::clicked, this, &SettingsWindow::onOkClicked);
    ui::whenValueChanges(*alwaysOnTop_, *this, [this] { onAlwaysOnTopTickboxChanged(); });
    connect(alarmSettings, &QPushButton::clicked, this, &SettingsWindow::onAlarmSettingsButtonClicked);
    connect(colours, &QPushButton::clicked, this, &SettingsWindow::onColorsButtonClicked);
}

void SettingsWindow::load()
{
    ui::placeFromStore(*this, services_.store, windows::settings(), services_.windows);
    // Not every window manager leaves a dialog out of the taskbar by itself.
    services_.windows.keepOutOfTaskbar(*this);
    // The clock's start-up reads the same key and default, so the box shows what the clock does and
    // opening this window changes nothing.
    ui::setSwitchValue(
        *alwaysOnTop_,
        services_.store.readSwitch(settings::kAlwaysOnTop.name(), settings::kAlwaysOnTop.defaultValue));
}

void SettingsWindow::onAlwaysOnTopTickboxChanged()
{
    const int value = ui::switchValue(*alwaysOnTop_);
    // Stopping the check makes the clock an ordinary window again; starting it puts it back above.
    services_.state.setAlwaysOnTopCheckRunning(forms::isOn(value));
    services_.store.saveSwitch(settings::kAlwaysOnTop.name(), value);
}

void SettingsWindow::onCreatorClicked()
{
    creator_->setText(kContactAddress);
}

void SettingsWindow::onColorsButtonClicked()
{
    ColoursWindow::showOver(services_, this);
}

void SettingsWindow::onAlarmSettingsButtonClicked()
{
    AlarmSettingsWindow::showOver(services_, this);
}

void SettingsWindow::onOkClicked()
{
    const SettingsBatch batch(services_.store);
    ui::savePlace(*this, services_.store, windows::settings());
    services_.store.saveSwitch(settings::kAlwaysOnTop.name(), ui::switchValue(*alwaysOnTop_));
    close();
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == creator_ && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && creator_->rect().contains(mouse->position().toPoint())) {
            onCreatorClicked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vqdbd

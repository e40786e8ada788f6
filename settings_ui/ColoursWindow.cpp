// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColoursWindow.h"

#include "DialogSupport.h"
#include "platform/WindowManager.h"
#include "state/Captions.h"
#include "state/ColourText.h"
#include "state/LiveState.h"
#include "state/SettingKeys.h"
#include "state/SettingsStore.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/Switches.h"
#include "ui/WindowPlacement.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

namespace vqdbd {

using ui::ControlDesign;
using ui::ControlKind;
using ui::ControlLook;

const std::array<ColoursWindow::Preset, 20> ColoursWindow::kPresets = { {
    { "BLACK_FOREGROUND_COLOR_BUTTON", 0, 240, 1080, true },
    { "WHITE_FOREGROUND_COLOR_BUTTON", 16777215, 1080, 1080, true },
    { "RED_FOREGROUND_COLOR_BUTTON", 255, 1920, 1080, true },
    { "YELLOW_FOREGROUND_COLOR_BUTTON", 65535, 2760, 1080, true },
    { "ORANGE_FOREGROUND_COLOR_BUTTON", 33023, 3600, 1080, true },
    { "GREEN_FOREGROUND_COLOR_BUTTON", 65280, 240, 1680, true },
    { "BLUE_FOREGROUND_COLOR_BUTTON", 16711680, 1080, 1680, true },
    { "CYAN_FOREGROUND_COLOR_BUTTON", 16776960, 1920, 1680, true },
    { "PINK_FOREGROUND_COLOR_BUTTON", 8421631, 2760, 1680, true },
    { "PURPLE_FOREGROUND_COLOR_BUTTON", 16711935, 3600, 1680, true },
    { "BLACK_BACKGROUND_COLOR_BUTTON", 0, 4800, 1080, false },
    { "WHITE_BACKGROUND_COLOR_BUTTON", 16777215, 5640, 1080, false },
    { "RED_BACKGROUND_COLOR_BUTTON", 255, 6480, 1080, false },
    { "YELLOW_BACKGROUND_COLOR_BUTTON", 65535, 7320, 1080, false },
    { "ORANGE_BACKGROUND_COLOR_BUTTON", 33023, 8160, 1080, false },
    { "GREEN_BACKGROUND_COLOR_BUTTON", 65280, 4800, 1560, false },
    { "BLUE_BACKGROUND_COLOR_BUTTON", 16711680, 5640, 1560, false },
    { "CYAN_BACKGROUND_COLOR_BUTTON", 16776960, 6480, 1560, false },
    { "PINK_BACKGROUND_COLOR_BUTTON", 8421631, 7320, 1560, false },
    { "PURPLE_BACKGROUND_COLOR_BUTTON", 16711935, 8160, 1560, false },
} };

namespace {

constexpr int kPresetWidth = 735;
constexpr int kPresetHeight = 375;

using settings::kEnteredBackColour;
using settings::kEnteredTextColour;
using settings::kManualBackColour;
using settings::kManualTextColour;

// The window as designed, in the order of building (and so of Tab).
std::vector<ControlDesign> coloursDesign()
{
    std::vector<ControlDesign> design {
        ui::controlDesign(QStringLiteral("VQ_DRUM_BEAT_DIAL_TITLE"), ControlKind::Label,
                          QStringLiteral("VELA-QUILL - DRUM-BEAT-DIAL"), 240, 120, 8655, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("SET_TEXT_COLOR_LABEL"), ControlKind::Label,
                          QStringLiteral("Set TEXT Color"), 240, 600, 4095, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("SET_BACKGROUND_COLOR_LABEL"), ControlKind::Label,
                          QStringLiteral("Set BACKGROUND Color"), 4800, 600, 4095, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("Line1"), ControlKind::Line, QString(), 4560, 600, 0, 1560),
        ui::controlDesign(QStringLiteral("Line2"), ControlKind::Line, QString(), 240, 2160, 8640, 0),
        ui::controlDesign(QStringLiteral("OK_BUTTON"), ControlKind::Button, QStringLiteral("OK"), 3840, 2400,
                          1455, 615),
    };
    for (const ColoursWindow::Preset& preset : ColoursWindow::kPresets) {
        const QString name = QString::fromLatin1(preset.name);
        // "Red text colour" for RED_FOREGROUND_COLOR_BUTTON.
        QString colour = name.section(u'_', 0, 0).toLower();
        colour[0] = colour.at(0).toUpper();
        colour += name.contains(QStringLiteral("_FOREGROUND_")) ? QStringLiteral(" text colour")
                                                                : QStringLiteral(" background colour");
        design.push_back(ui::controlDesign(name, ControlKind::ColourButton, QString(), preset.left,
                                           preset.top, kPresetWidth, kPresetHeight,
                                           { .backColour = preset.value, .accessibleName = colour }));
    }
    // The manual section is built but never shown; an entry box starts in the off look, and a preview
    // is never editable.
    const ControlLook entry {
        .backColour = ui::kLightGrey, .locked = true, .enabled = false, .visible = false
    };
    const ControlLook preview {
        .backColour = ui::kGreen, .locked = true, .enabled = false, .visible = false
    };
    design.insert(design.end(),
                  {
                      ui::controlDesign(kManualTextColour.name(), ControlKind::CheckBox,
                                        QStringLiteral("Manual TEXT Color"), 240, 4080, 1815, 375,
                                        { .visible = false }),
                      ui::controlDesign(kEnteredTextColour.name(), ControlKind::TextBox,
                                        kEnteredTextColour.defaultValue(), 2880, 4080, 1455, 375, entry),
                      ui::controlDesign(QStringLiteral("SHOW_TEXT_COLOR_TEXTBOX"), ControlKind::TextBox,
                                        QString(), 240, 4560, 4095, 495, preview),
                      ui::controlDesign(kManualBackColour.name(), ControlKind::CheckBox,
                                        QStringLiteral("Manual BACKGROUND Color"), 4920, 4080, 2535, 375,
                                        { .visible = false }),
                      ui::controlDesign(kEnteredBackColour.name(), ControlKind::TextBox,
                                        kEnteredBackColour.defaultValue(), 7560, 4080, 1455, 375, entry),
                      ui::controlDesign(QStringLiteral("SHOW_BACKGROUND_COLOR_TEXTBOX"), ControlKind::TextBox,
                                        QString(), 4920, 4560, 4095, 495, preview),
                  });
    return design;
}

} // namespace

ColoursWindow::ColoursWindow(const WindowServices& services, QWidget* owner)
    : Dialog(services, owner, windows::colours())
{
    setObjectName(QStringLiteral("VQ_DBD_COLORS_WINDOW"));
    setWindowTitle(captions::colours());

    ui::createControls(*this, coloursDesign());
    okButton_ = &ui::control<QPushButton>(*this, QStringLiteral("OK_BUTTON"));
    connect(okButton_, &QPushButton::clicked, this, &ColoursWindow::onOkClicked);

    QWidget* previous = okButton_;
    for (const Preset& preset : kPresets) {
        auto* button = &ui::control<QPushButton>(*this, QString::fromLatin1(preset.name));
        connect(button, &QPushButton::clicked, this, [this, &preset] { onPresetClicked(preset); });
        setTabOrder(previous, button);
        previous = button;
    }

    manualText_ = { &ui::control<QCheckBox>(*this, kManualTextColour.name()),
                    &ui::control<QLineEdit>(*this, kEnteredTextColour.name()),
                    &ui::control<QLineEdit>(*this, QStringLiteral("SHOW_TEXT_COLOR_TEXTBOX")),
                    kManualTextColour,
                    kEnteredTextColour,
                    true };
    manualBackground_ = { &ui::control<QCheckBox>(*this, kManualBackColour.name()),
                          &ui::control<QLineEdit>(*this, kEnteredBackColour.name()),
                          &ui::control<QLineEdit>(*this, QStringLiteral("SHOW_BACKGROUND_COLOR_TEXTBOX")),
                          kManualBackColour,
                          kEnteredBackColour,
                          false };
    for (ManualColour* manual : { &manualText_, &manualBackground_ }) {
        ui::whenValueChanges(*manual->tickbox, *this, [this, manual] { onManualTickboxChanged(*manual); });
        connect(manual->entry, &QLineEdit::textChanged, this,
                [this, manual] { onEnterColorTextboxChanged(*manual); });
    }

    okButton_->setFocus();
}

void ColoursWindow::load()
{
    ui::placeFromStore(*this, services_.store, windows::colours(), services_.windows);
    // Not every window manager leaves a dialog out of the taskbar by itself.
    services_.windows.keepOutOfTaskbar(*this);
    for (ManualColour* manual : { &manualText_, &manualBackground_ })
        ui::setSwitchValue(
            *manual->tickbox,
            services_.store.readSwitch(manual->tickboxKey.name(), manual->tickboxKey.defaultValue));
    for (ManualColour* manual : { &manualText_, &manualBackground_ })
        manual->entry->setText(
            services_.store.getSetting(manual->entryKey.name(), manual->entryKey.defaultValue()));
    for (ManualColour* manual : { &manualText_, &manualBackground_ })
        setManualLook(*manual);
}

void ColoursWindow::onPresetClicked(const Preset& preset)
{
    if (preset.forText)
        services_.state.setTextColour(preset.value);
    else
        services_.state.setBackColour(preset.value);
}

void ColoursWindow::onManualTickboxChanged(ManualColour& manual)
{
    setManualLook(manual);
}

void ColoursWindow::setManualLook(ManualColour& manual)
{
    if (ui::isOn(*manual.tickbox))
        dialogs::setEntryOn(*manual.entry);
    else
        dialogs::setEntryOff(*manual.entry);
}

void ColoursWindow::onEnterColorTextboxChanged(ManualColour& manual)
{
    // A text that names no colour the clock can show leaves the preview as it was.
    if (const auto colour = clockColourFromText(manual.entry->text()))
        ui::setBackColour(*manual.preview, *colour);
}

void ColoursWindow::applyManual(const ManualColour& manual)
{
    if (!ui::isOn(*manual.tickbox))
        return;
    // A text that names no colour the clock can show leaves the clock's colour as it is.
    const auto colour = clockColourFromText(manual.entry->text());
    if (!colour)
        return;
    if (manual.forText)
        services_.state.setTextColour(*colour);
    else
        services_.state.setBackColour(*colour);
}

void ColoursWindow::onOkClicked()
{
    applyManual(manualText_);
    applyManual(manualBackground_);
    SettingsStore& store = services_.store;
    // One rewrite of the settings file for the OK and the closing it ends with.
    const SettingsBatch batch(store);
    ui::savePlace(*this, store, windows::colours());
    store.saveColour(settings::kTextColour.name(), services_.state.textColour());
    store.saveColour(settings::kBackColour.name(), services_.state.backColour());
    for (const ManualColour* manual : { &manualText_, &manualBackground_ })
        store.saveSwitch(manual->tickboxKey.name(), ui::switchValue(*manual->tickbox));
    for (const ManualColour* manual : { &manualText_, &manualBackground_ })
        store.saveSetting(manual->entryKey.name(), manual->entry->text());
    close();
}

} // namespace vqdbd

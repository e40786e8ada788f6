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
#include "ui/Twips.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

namespace vqdbd {

using ui::ControlDesign;
using ui::ControlKind;

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

const QString kManualTextTickbox = QStringLiteral("MANUAL_TEXT_COLOR_TICKBOX");
const QString kManualBackgroundTickbox = QStringLiteral("MANUAL_BACKGROUND_COLOR_TICKBOX");
const QString kEnterTextColour = QStringLiteral("ENTER_TEXT_COLOR_TEXTBOX");
const QString kEnterBackgroundColour = QStringLiteral("ENTER_BACKGROUND_COLOR_TEXTBOX");
const QString kDefaultTextEntry = QStringLiteral("&H0000FF00&");
const QString kDefaultBackgroundEntry = QStringLiteral("&H00000000&");

// The manual section is built but never shown.
ControlDesign manualTickbox(const QString& name, QString caption, int left, int width)
{
    ControlDesign design
        = ui::controlDesign(name, ControlKind::CheckBox, std::move(caption), left, 4080, width, 375);
    design.visible = false;
    return design;
}

// An entry box starts in the off look.
ControlDesign entryBox(const QString& name, QString text, int left)
{
    ControlDesign design
        = ui::controlDesign(name, ControlKind::TextBox, std::move(text), left, 4080, 1455, 375);
    design.backColour = ui::kLightGrey;
    design.locked = true;
    design.enabled = false;
    design.visible = false;
    return design;
}

// A preview is never editable.
ControlDesign previewSwatch(QString name, int left)
{
    ControlDesign design
        = ui::controlDesign(std::move(name), ControlKind::TextBox, QString(), left, 4560, 4095, 495);
    design.backColour = ui::kGreen;
    design.locked = true;
    design.enabled = false;
    design.visible = false;
    return design;
}

// The window as designed, in the order of building (and so of Tab).
std::vector<ControlDesign> coloursDesign()
{
    std::vector<ControlDesign> design {
        ui::titleLabel(QStringLiteral("VQ_DRUM_BEAT_DIAL_TITLE"),
                       QStringLiteral("VELA-QUILL - DRUM-BEAT-DIAL"), 240, 120, 8655, 315),
        ui::titleLabel(QStringLiteral("SET_TEXT_COLOR_LABEL"), QStringLiteral("Set TEXT Color"), 240, 600,
                       4095, 315),
        ui::titleLabel(QStringLiteral("SET_BACKGROUND_COLOR_LABEL"), QStringLiteral("Set BACKGROUND Color"),
                       4800, 600, 4095, 315),
        ui::controlDesign(QStringLiteral("Line1"), ControlKind::Line, QString(), 4560, 600, 0, 1560),
        ui::controlDesign(QStringLiteral("Line2"), ControlKind::Line, QString(), 240, 2160, 8640, 0),
        ui::controlDesign(QStringLiteral("OK_BUTTON"), ControlKind::Button, QStringLiteral("OK"), 3840, 2400,
                          1455, 615),
    };
    for (const ColoursWindow::Preset& preset : ColoursWindow::kPresets) {
        ControlDesign face
            = ui::controlDesign(QString::fromLatin1(preset.name), ControlKind::ColourButton, QString(),
                                preset.left, preset.top, kPresetWidth, kPresetHeight);
        face.backColour = preset.value;
        // "Red text colour" for RED_FOREGROUND_COLOR_BUTTON.
        QString colour = face.name.section(u'_', 0, 0).toLower();
        colour[0] = colour.at(0).toUpper();
        face.accessibleName = colour
            + (face.name.contains(QStringLiteral("_FOREGROUND_")) ? QStringLiteral(" text colour")
                                                                  : QStringLiteral(" background colour"));
        design.push_back(face);
    }
    design.push_back(manualTickbox(kManualTextTickbox, QStringLiteral("Manual TEXT Color"), 240, 1815));
    design.push_back(entryBox(kEnterTextColour, kDefaultTextEntry, 2880));
    design.push_back(previewSwatch(QStringLiteral("SHOW_TEXT_COLOR_TEXTBOX"), 240));
    design.push_back(
        manualTickbox(kManualBackgroundTickbox, QStringLiteral("Manual BACKGROUND Color"), 4920, 2535));
    design.push_back(entryBox(kEnterBackgroundColour, kDefaultBackgroundEntry, 7560));
    design.push_back(previewSwatch(QStringLiteral("SHOW_BACKGROUND_COLOR_TEXTBOX"), 4920));
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

    manualText_ = { &ui::control<QCheckBox>(*this, kManualTextTickbox),
                    &ui::control<QLineEdit>(*this, kEnterTextColour),
                    &ui::control<QLineEdit>(*this, QStringLiteral("SHOW_TEXT_COLOR_TEXTBOX")),
                    kManualTextTickbox,
                    kEnterTextColour,
                    kDefaultTextEntry,
                    true };
    manualBackground_ = { &ui::control<QCheckBox>(*this, kManualBackgroundTickbox),
                          &ui::control<QLineEdit>(*this, kEnterBackgroundColour),
                          &ui::control<QLineEdit>(*this, QStringLiteral("SHOW_BACKGROUND_COLOR_TEXTBOX")),
                          kManualBackgroundTickbox,
                          kEnterBackgroundColour,
                          kDefaultBackgroundEntry,
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
        ui::setSwitchValue(*manual->tickbox, services_.store.readSwitch(manual->tickboxKey, 0));
    for (ManualColour* manual : { &manualText_, &manualBackground_ })
        manual->entry->setText(services_.store.readText(manual->entryKey, manual->defaultText));
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
    store.saveSwitch(kManualTextTickbox, ui::switchValue(*manualText_.tickbox));
    store.saveSwitch(kManualBackgroundTickbox, ui::switchValue(*manualBackground_.tickbox));
    store.saveSetting(kEnterTextColour, manualText_.entry->text());
    store.saveSetting(kEnterBackgroundColour, manualBackground_.entry->text());
    close();
}

} // namespace vqdbd

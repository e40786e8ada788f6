// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotificationDesign.h"

#include "ui/Colours.h"

#include <algorithm>

namespace vqdbd {

namespace {

using Face = ui::FontDesign::Face;
using Kind = ui::ControlKind;

// A look: font, colours (nullopt keeps the platform's), centred or not, locked or not.
struct Look
{
    ui::FontDesign font;
    std::optional<qint32> text;
    std::optional<qint32> back;
    bool centred;
    bool locked;
};

ui::ControlDesign styled(ui::ControlDesign design, const Look& look)
{
    design.font = look.font;
    design.textColour = look.text;
    design.backColour = look.back;
    if (look.centred)
        design.alignment = Qt::AlignCenter;
    design.locked = look.locked;
    return design;
}

ui::ControlDesign disabled(ui::ControlDesign design)
{
    design.enabled = false;
    return design;
}

ui::ControlDesign hidden(ui::ControlDesign design)
{
    design.visible = false;
    return design;
}

ui::ControlDesign& row(std::vector<ui::ControlDesign>& design, const QString& name)
{
    const auto found = std::find_if(design.begin(), design.end(),
                                    [&](const ui::ControlDesign& control) { return control.name == name; });
    Q_ASSERT(found != design.end());
    return *found;
}

} // namespace

std::vector<ui::ControlDesign> notificationDesign()
{
    const Look marks { { Face::Arial, 36, true }, ui::kRed, ui::kBlack, true, true };
    const Look name { { Face::ArialBlack, 14.25, true }, std::nullopt, std::nullopt, true, true };
    const Look message { { Face::ArialBlack, 11.25, true }, std::nullopt, std::nullopt, true, true };
    const Look number { { Face::ArialBlack, 14.25, true }, ui::kYellow, ui::kBlack, true, false };
    const Look command { { Face::SansSerif, 8.25, true }, std::nullopt, ui::kLightGrey, false, true };
    const Look autoCloseIn { { Face::ArialBlack, 12, true }, ui::kCyan, ui::kBlack, true, true };
    const Look countdown { { Face::ArialBlack, 12, true }, ui::kCyan, ui::kBlack, true, false };
    const Look firedAgain { { Face::SansSerif, 8.25, true }, ui::kRed, std::nullopt, false, false };

    return {
        ui::titleLabel(QStringLiteral("VQ_DBD_TITLE_1"), QStringLiteral("VELA-QUILL"), 120, 120, 3375, 315),
        ui::titleLabel(QStringLiteral("VQ_DBD_TITLE_2"), QStringLiteral("VQ-DBD"), 3600, 120, 1455, 315),
        ui::titleLabel(QStringLiteral("ALARM_NOTIFICATION_LABEL"), QStringLiteral("ALARM NOTIFICATION"), 5160,
                       120, 3375, 315),
        styled(ui::controlDesign(QStringLiteral("EX_LEFT_TEXTBOX"), Kind::TextBox, QStringLiteral("!!!"), 240,
                                 600, 975, 885),
               marks),
        styled(
            ui::controlDesign(QStringLiteral("ALARM_NAME_TEXTBOX"), Kind::TextBox, {}, 1440, 600, 5775, 465),
            name),
        styled(ui::controlDesign(QStringLiteral("EX_RIGHT_TEXTBOX"), Kind::TextBox, QStringLiteral("!!!"),
                                 7440, 600, 975, 900),
               marks),
        styled(ui::controlDesign(QStringLiteral("ALARM_NOTIFICATION_MESSAGE_TEXTBOX"), Kind::TextBox, {},
                                 1440, 1080, 5775, 420),
               message),
        disabled(ui::controlDesign(QStringLiteral("ALARM_RUN_COMMAND_TICKBOX"), Kind::CheckBox,
                                   QStringLiteral("Run Command"), 1440, 1560, 1455, 375)),
        disabled(ui::controlDesign(QStringLiteral("RUN_HIDDEN_TICKBOX"), Kind::CheckBox,
                                   QStringLiteral("Run Hidden"), 3000, 1560, 1455, 375)),
        // Hidden until the slot fires again while the window is still open; then it says when.
        hidden(styled(
            ui::controlDesign(QStringLiteral("FIRED_AGAIN_LABEL"), Kind::Label, {}, 4560, 1560, 3000, 375),
            firedAgain)),
        styled(ui::controlDesign(QStringLiteral("ALARM_NUMBER_LEFT_TEXTBOX"), Kind::TextBox, {}, 480, 1680,
                                 495, 495),
               number),
        styled(ui::controlDesign(QStringLiteral("ALARM_NUMBER_RIGHT_TEXTBOX"), Kind::TextBox, {}, 7680, 1680,
                                 495, 495),
               number),
        styled(ui::controlDesign(QStringLiteral("ALARM_RUN_COMMAND_TEXTBOX"), Kind::TextBox, {}, 1440, 1920,
                                 5775, 285),
               command),
        ui::controlDesign(QStringLiteral("RUN_NOW_BUTTON"), Kind::Button, QStringLiteral("RUN NOW"), 240,
                          2400, 975, 495),
        ui::controlDesign(QStringLiteral("ALARM_MESSAGE_AUTO_CLOSE_TICKBOX"), Kind::CheckBox,
                          QStringLiteral("Auto Close"), 1440, 2400, 735, 495),
        styled(ui::controlDesign(QStringLiteral("AUTOCLOSE_IN_TB"), Kind::TextBox,
                                 QStringLiteral("AUTOCLOSE:"), 2400, 2400, 1935, 465),
               autoCloseIn),
        styled(ui::controlDesign(QStringLiteral("AUTOCLOSE_COUNTDOWN_TB"), Kind::TextBox,
                                 QStringLiteral("00"), 4440, 2400, 615, 465),
               countdown),
        ui::controlDesign(QStringLiteral("START_STOP_BUTTON"), Kind::Button, QStringLiteral("START"), 5280,
                          2400, 975, 495),
        ui::controlDesign(QStringLiteral("OK_BUTTON"), Kind::Button, QStringLiteral("OK"), 6480, 2400, 1935,
                          495),
    };
}

std::vector<ui::ControlDesign> testNotificationDesign()
{
    std::vector<ui::ControlDesign> design = notificationDesign();
    row(design, QStringLiteral("ALARM_NAME_TEXTBOX")).caption
        = QStringLiteral("!!! TEST ALARM NOTIFICATION !!!");
    ui::ControlDesign& message = row(design, QStringLiteral("ALARM_NOTIFICATION_MESSAGE_TEXTBOX"));
    message.caption = QStringLiteral("MANUAL COMMAND ONLY - SETTINGS NOT SAVED");
    message.font = ui::FontDesign { Face::ArialBlack, 9.75, true };
    row(design, QStringLiteral("ALARM_RUN_COMMAND_TICKBOX")).enabled = true;
    row(design, QStringLiteral("ALARM_RUN_COMMAND_TEXTBOX")).caption = QStringLiteral("Run Command");
    // Says why a command line typed here will not run, while it is typed. It takes the place of the
    // fired-again note, which a window with no alarm behind it never shows.
    const Look note { { Face::SansSerif, 8.25, true }, ui::kRed, std::nullopt, false, false };
    design.push_back(hidden(styled(
        ui::controlDesign(QStringLiteral("COMMAND_NOTE_LABEL"), Kind::Label, {}, 4560, 1560, 3000, 375),
        note)));
    return design;
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotificationDesign.h"

#include "ui/Colours.h"

#include <algorithm>

namespace vqdbd {

namespace {

using Font = ui::FontDesign;
using Face = ui::FontDesign::Face;
using Kind = ui::ControlKind;

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
    const ui::ControlLook marks { .font = Font { Face::Arial, 36, true },
                                  .textColour = ui::kRed,
                                  .backColour = ui::kBlack,
                                  .alignment = Qt::AlignCenter,
                                  .locked = true };
    const ui::ControlLook name { .font = Font { Face::ArialBlack, 14.25, true },
                                 .alignment = Qt::AlignCenter,
                                 .locked = true };
    const ui::ControlLook message { .font = Font { Face::ArialBlack, 11.25, true },
                                    .alignment = Qt::AlignCenter,
                                    .locked = true };
    const ui::ControlLook number { .font = Font { Face::ArialBlack, 14.25, true },
                                   .textColour = ui::kYellow,
                                   .backColour = ui::kBlack,
                                   .alignment = Qt::AlignCenter };
    const ui::ControlLook command { .font = Font { Face::SansSerif, 8.25, true },
                                    .backColour = ui::kLightGrey,
                                    .locked = true };
    const ui::ControlLook countdown { .font = Font { Face::ArialBlack, 12, true },
                                      .textColour = ui::kCyan,
                                      .backColour = ui::kBlack,
                                      .alignment = Qt::AlignCenter };
    const ui::ControlLook autoCloseIn { .font = Font { Face::ArialBlack, 12, true },
                                        .textColour = ui::kCyan,
                                        .backColour = ui::kBlack,
                                        .alignment = Qt::AlignCenter,
                                        .locked = true };
    const ui::ControlLook disabled { .enabled = false };
    // Hidden until the slot fires again while the window is still open; then it says when.
    const ui::ControlLook firedAgain { .font = Font { Face::SansSerif, 8.25, true },
                                       .textColour = ui::kRed,
                                       .visible = false };

    return {
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_1"), Kind::Label, QStringLiteral("VELA-QUILL"), 120,
                          120, 3375, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_2"), Kind::Label, QStringLiteral("VQ-DBD"), 3600, 120,
                          1455, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("ALARM_NOTIFICATION_LABEL"), Kind::Label,
                          QStringLiteral("ALARM NOTIFICATION"), 5160, 120, 3375, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("EX_LEFT_TEXTBOX"), Kind::TextBox, QStringLiteral("!!!"), 240, 600,
                          975, 885, marks),
        ui::controlDesign(QStringLiteral("ALARM_NAME_TEXTBOX"), Kind::TextBox, {}, 1440, 600, 5775, 465,
                          name),
        ui::controlDesign(QStringLiteral("EX_RIGHT_TEXTBOX"), Kind::TextBox, QStringLiteral("!!!"), 7440, 600,
                          975, 900, marks),
        ui::controlDesign(QStringLiteral("ALARM_NOTIFICATION_MESSAGE_TEXTBOX"), Kind::TextBox, {}, 1440, 1080,
                          5775, 420, message),
        ui::controlDesign(QStringLiteral("ALARM_RUN_COMMAND_TICKBOX"), Kind::CheckBox,
                          QStringLiteral("Run Command"), 1440, 1560, 1455, 375, disabled),
        ui::controlDesign(QStringLiteral("RUN_HIDDEN_TICKBOX"), Kind::CheckBox, QStringLiteral("Run Hidden"),
                          3000, 1560, 1455, 375, disabled),
        ui::controlDesign(QStringLiteral("FIRED_AGAIN_LABEL"), Kind::Label, {}, 4560, 1560, 3000, 375,
                          firedAgain),
        ui::controlDesign(QStringLiteral("ALARM_NUMBER_LEFT_TEXTBOX"), Kind::TextBox, {}, 480, 1680, 495, 495,
                          number),
        ui::controlDesign(QStringLiteral("ALARM_NUMBER_RIGHT_TEXTBOX"), Kind::TextBox, {}, 7680, 1680, 495,
                          495, number),
        ui::controlDesign(QStringLiteral("ALARM_RUN_COMMAND_TEXTBOX"), Kind::TextBox, {}, 1440, 1920, 5775,
                          285, command),
        ui::controlDesign(QStringLiteral("RUN_NOW_BUTTON"), Kind::Button, QStringLiteral("RUN NOW"), 240,
                          2400, 975, 495),
        ui::controlDesign(QStringLiteral("ALARM_MESSAGE_AUTO_CLOSE_TICKBOX"), Kind::CheckBox,
                          QStringLiteral("Auto Close"), 1440, 2400, 735, 495),
        ui::controlDesign(QStringLiteral("AUTOCLOSE_IN_TB"), Kind::TextBox, QStringLiteral("AUTOCLOSE:"),
                          2400, 2400, 1935, 465, autoCloseIn),
        ui::controlDesign(QStringLiteral("AUTOCLOSE_COUNTDOWN_TB"), Kind::TextBox, QStringLiteral("00"), 4440,
                          2400, 615, 465, countdown),
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
    message.font = Font { Face::ArialBlack, 9.75, true };
    row(design, QStringLiteral("ALARM_RUN_COMMAND_TICKBOX")).enabled = true;
    row(design, QStringLiteral("ALARM_RUN_COMMAND_TEXTBOX")).caption = QStringLiteral("Run Command");
    // Says why a command line typed here will not run, while it is typed. It takes the place of the
    // fired-again note, which a window with no alarm behind it never shows.
    design.push_back(ui::controlDesign(
        QStringLiteral("COMMAND_NOTE_LABEL"), Kind::Label, {}, 4560, 1560, 3000, 375,
        { .font = Font { Face::SansSerif, 8.25, true }, .textColour = ui::kRed, .visible = false }));
    return design;
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd::ui {

// The name a screen reader says for a control: its caption where it has one, otherwise a
// description made from its name ("Red text colour" for RED_FOREGROUND_COLOR_BUTTON, "Enable
// alarm 3" for ALARM_3_TICKBOX, "Name of alarm 3" for ALARM_3_NAME_TEXTBOX). A text box's text is
// what it holds, not what it is, so text boxes are always described by their name.
QString accessibleNameFor(const QString& controlName, const QString& caption, bool isTextBox);

} // namespace vqdbd::ui

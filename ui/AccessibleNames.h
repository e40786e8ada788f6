// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd::ui {

// The name a screen reader says for a control whose design row gives none: its caption where it has
// one, otherwise the words of its name without the word for its kind ("Autoclose countdown" for
// AUTOCLOSE_COUNTDOWN_TB). A text box's text is what it holds, not what it is, so text boxes are
// always described by their name.
QString accessibleNameFor(const QString& controlName, const QString& caption, bool isTextBox);

} // namespace vqdbd::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QCheckBox;
class QObject;

// Check boxes as switches: the value a box holds, set from code as by a click.
namespace vqdbd::ui {

// A check box holds 0 (clear), 1 (ticked) or 2 (greyed).
int switchValue(const QCheckBox& box);
// Whether the box is ticked: on, as a switch of exactly 1.
bool isOn(const QCheckBox& box);
// Runs a check box's rule whenever its value changes, by a click or set from code alike, for as long
// as `context` lives.
void whenValueChanges(QCheckBox& box, QObject& context, std::function<void()> rule);
void setSwitchValue(QCheckBox& box, int value);

} // namespace vqdbd::ui

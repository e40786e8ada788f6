// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SettingKeys.h"
#include "ValueForms.h"

namespace vqdbd {

class SettingsStore;

// Reads the four keys in the order Left, Top, Width, Height. A Width beyond `widest` or a Height
// beyond `tallest` (the largest screen's, say) fits nowhere and counts as damaged, unless it is no
// larger than the window's design.
TwipsRect readGeometry(SettingsStore& store, const WindowKeys& keys, float widest = forms::kMaxTwips,
                       float tallest = forms::kMaxTwips);
// Writes Left and then Top; sizes are never written.
void savePosition(SettingsStore& store, const WindowKeys& keys, float left, float top);

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace vqdbd::ui {

// Designs are laid out in twips; on screen 15 twips make one logical pixel.
inline constexpr float kTwipsPerPixel = 15.0f;

int toPixels(float twips);
float toTwips(int pixels);
QRect toPixels(int left, int top, int width, int height);

} // namespace vqdbd::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace vqdbd::ui {

// A colour value 0x00BBGGRR as a QColor. Values with the top bit set name a system colour
// (&H80000005& is the window background of text entry) and take the current palette's colour.
QColor toQColor(qint32 value);

inline constexpr qint32 kWindowBackground = static_cast<qint32>(0x80000005u);
inline constexpr qint32 kLightGrey = 0x00E0E0E0;
inline constexpr qint32 kBlack = 0x00000000;
inline constexpr qint32 kGreen = 0x0000FF00;
inline constexpr qint32 kRed = 0x000000FF;
inline constexpr qint32 kYellow = 0x0000FFFF;
inline constexpr qint32 kCyan = 0x00FFFF00;

} // namespace vqdbd::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <functional>

namespace vqdbd::ui {

// Below this a text can no longer be read.
inline constexpr int kSmallestReadablePixels = 7;

// The font made smaller a pixel at a time until the text it is for fits, or until it is down to
// `smallestPixels`; a font that fits already, or is no bigger than that, comes back as it is.
QFont fitFont(QFont font, int smallestPixels, const std::function<bool(const QFont&)>& fits);

} // namespace vqdbd::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontFit.h"

namespace vqdbd::ui {

QFont fitFont(QFont font, int smallestPixels, const std::function<bool(const QFont&)>& fits)
{
    while (font.pixelSize() > smallestPixels && !fits(font))
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

} // namespace vqdbd::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Twips.h"

#include <cmath>

namespace vqdbd::ui {

int toPixels(float twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

float toTwips(int pixels)
{
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

QRect toPixels(int left, int top, int width, int height)
{
    return { toPixels(static_cast<float>(left)), toPixels(static_cast<float>(top)),
             toPixels(static_cast<float>(width)), toPixels(static_cast<float>(height)) };
}

} // namespace vqdbd::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vqdbd {

// The maker's logo for the maker button, 52 by 40 pixels; its pure green pixels are transparent.
QPixmap makerLogo();
// The window icon every window carries, in 16 and 24 pixels.
QIcon windowIcon();
// The icon's drum-and-dial picture, size by size pixels on a transparent ground; also the installed
// icons of the desktop's menu are made from it.
QPixmap iconPicture(int size);

} // namespace vqdbd

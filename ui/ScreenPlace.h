// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace vqdbd::ui {

// Where a window opens on the screens there are now, reckoned in pixels on plain rectangles so that
// any layout of screens can be tried without them.
//
// A window stays where it was stored while its whole caption bar (the top `captionHeight` rows of
// its outer frame, with the grab area and the close box) lies on the screens' usable areas and it
// is no larger than the screen it is on (or lies whole across several). Otherwise it moves onto the nearest
// screen, keeping its size; a window larger than that screen's usable area is cut down to it, and the caller
// lets its contents scroll.
QRect reachablePlace(const QRect& frame, int captionHeight, const QList<QRect>& screens);

// Whether the caption bar of a window whose outer frame is `frame` lies wholly on the screens.
bool captionOnScreens(const QRect& frame, int captionHeight, const QList<QRect>& screens);

// The widest and the tallest screen's size: a stored size beyond it fits no screen at all.
QSize largestScreenSize(const QList<QRect>& screens);

} // namespace vqdbd::ui

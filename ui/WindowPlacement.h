// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Geometry.h"

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace vqdbd {
class SettingsStore;
class WindowManager;
} // namespace vqdbd

// Where each window goes on the screens: from the store at opening, again when the screens change,
// and back to the store at closing. Positions are pixels unless said to be twips.
namespace vqdbd::ui {

// The usable area of each screen (without panels), in pixels.
QList<QRect> usableScreenAreas();

// Places a top-level window with its outer frame's top-left corner at Left and Top (twips) and the
// client area `client` inside the window manager's `frame`. A window whose caption bar would not lie
// wholly on the screens, or that is larger than its screen, moves onto the nearest screen (see
// reachablePlace); cut down to fit, it scrolls. Returns where the outer corner went, in pixels.
QPoint placeWindow(QWidget& window, float left, float top, QSize client, const QMargins& frame);
// Places a shown window again by the same rule, from where it is now and at the size it was made:
// moved back onto the screens, cut down to fit or given back its whole size. A window that lies
// within reach as it stands is left alone.
void keepWithinReach(QWidget& window);
// The client area a window's design gives it: its stored outer size less the frame it was drawn for.
QSize designedClientSize(const TwipsRect& rect, const DesignedFrame& frame);
// Reads a window's Left, Top, Width and Height from the store and puts it there: the designed client
// area inside whatever frame the window manager draws, the outer corner at Left and Top. A stored
// size larger than every screen counts as damaged.
void placeFromStore(QWidget& window, SettingsStore& store, const WindowKeys& keys, WindowManager& windows);
// Saves the window's Left and then its Top.
void savePlace(const QWidget& window, SettingsStore& store, const WindowKeys& keys);

// The outer frame's top-left corner in twips, as it is stored.
float windowLeft(const QWidget& window);
float windowTop(const QWidget& window);

} // namespace vqdbd::ui

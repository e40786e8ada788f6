#pragma once

#include "state/Geometry.h"

#include <QMargins>
#include <QRect>

class QWidget;

namespace vqdbd {
class SettingsStore;
class WindowManager;
} // namespace vqdbd

namespace vqdbd::ui {

// Designs are laid out in twips; on screen 15 twips make one logical pixel.
inline constexpr float kTwipsPerPixel = 15.0f;

int toPixels(float twips);
float toTwips(int pixels);
QRect toPixels(int left, int top, int width, int height);

// Where every window opens by default: Left and Top of 1000 twips.
inline constexpr float kDefaultPlace = 1000.0f;

// Whether any part of a window's frame rectangle (in pixels) lies on one of the screens.
bool liesOnSomeScreen(const QRect& frame);

// Places a top-level window from its stored geometry: Left and Top are the outer frame's top-left
// corner, Width and Height its outer size, of which the window manager's frame takes its margins.
// A window that would lie on no screen at all opens at the default place on the primary screen.
void placeWindow(QWidget& window, const TwipsRect& rect, const QMargins& frame);
// Reads a window's Left, Top, Width and Height from the store and puts it there.
void placeFromStore(QWidget& window, SettingsStore& store, const WindowKeys& keys, WindowManager& windows);
// Saves the window's Left and then its Top.
void savePlace(const QWidget& window, SettingsStore& store, const WindowKeys& keys);

// The outer frame's top-left corner in twips, as it is stored.
float windowLeft(const QWidget& window);
float windowTop(const QWidget& window);

} // namespace vqdbd::ui

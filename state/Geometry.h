// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ValueForms.h"

#include <QString>

namespace vqdbd {

class SettingsStore;

// A window's Left, Top, Width and Height in twips, as the store holds them.
struct TwipsRect
{
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// The frame a window's design was drawn for: its stored Width and Height are the outer size, of
// which this much is frame and the rest the client area the controls are laid out in. The window
// manager then draws its own frame, whatever its size, round that client area.
struct DesignedFrame
{
    float width = 0;
    float height = 0;
};
// A fixed dialog or single-border window: 8745 x 3420 outer for a 8655 x 3045 client area.
inline constexpr DesignedFrame kFixedWindowFrame { 90, 375 };
// The clock's tool window, with its smaller caption: the client area shows the time display with the
// margin below it that it has above and to its right that it has on the left.
inline constexpr DesignedFrame kToolWindowFrame { 90, 315 };

// The geometry keys of one window: a prefix followed by Left, Top, Width and Height.
struct WindowKeys
{
    QString prefix; // for example "CLOCK-MAIN-"
    TwipsRect defaults;
    DesignedFrame frame = kFixedWindowFrame;

    QString left() const { return prefix + QStringLiteral("Left"); }
    QString top() const { return prefix + QStringLiteral("Top"); }
    QString width() const { return prefix + QStringLiteral("Width"); }
    QString height() const { return prefix + QStringLiteral("Height"); }
};

// Reads the four keys in the order Left, Top, Width, Height. A Width beyond `widest` or a Height
// beyond `tallest` (the largest screen's, say) fits nowhere and counts as damaged, unless it is no
// larger than the window's design.
TwipsRect readGeometry(SettingsStore& store, const WindowKeys& keys, float widest = forms::kMaxTwips,
                       float tallest = forms::kMaxTwips);
// Writes Left and then Top; sizes are never written.
void savePosition(SettingsStore& store, const WindowKeys& keys, float left, float top);

namespace windows {
WindowKeys clock();
WindowKeys settings();
WindowKeys colours();
WindowKeys alarmSettings();
WindowKeys testNotification();
WindowKeys notification(int slot);
} // namespace windows

} // namespace vqdbd

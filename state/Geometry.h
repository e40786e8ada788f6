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

// The geometry keys of one window: a prefix followed by Left, Top, Width and Height.
struct WindowKeys
{
    QString prefix; // for example "CLOCK-MAIN-"
    TwipsRect defaults;

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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Geometry.h"

#include "SettingsStore.h"

#include <algorithm>

namespace vqdbd {

TwipsRect readGeometry(SettingsStore& store, const WindowKeys& keys, float widest, float tallest)
{
    TwipsRect rect;
    rect.left = store.readPosition(keys.left(), keys.defaults.left);
    rect.top = store.readPosition(keys.top(), keys.defaults.top);
    rect.width = store.readSize(keys.width(), keys.defaults.width, std::max(widest, keys.defaults.width));
    rect.height
        = store.readSize(keys.height(), keys.defaults.height, std::max(tallest, keys.defaults.height));
    return rect;
}

void savePosition(SettingsStore& store, const WindowKeys& keys, float left, float top)
{
    const SettingsBatch batch(store);
    store.saveTwips(keys.left(), left);
    store.saveTwips(keys.top(), top);
}

namespace windows {

WindowKeys clock()
{
    return { QStringLiteral("CLOCK-MAIN-"), { 1000, 1000, 3585, 1230 }, kToolWindowFrame };
}

WindowKeys settings()
{
    return { QStringLiteral("MAIN-SETTINGS-"), { 1000, 1000, 8505, 2130 } };
}

WindowKeys colours()
{
    return { QStringLiteral("COLORS-WINDOW-"), { 1000, 1000, 9240, 3570 } };
}

WindowKeys alarmSettings()
{
    return { QStringLiteral("ALARM-SETTINGS-"), { 1000, 1000, 13680, 8355 } };
}

WindowKeys testNotification()
{
    return { QStringLiteral("ALARM-TEST-NOTIFICATION-MESSAGE-"), { 1000, 1000, 8745, 3420 } };
}

WindowKeys notification(int slot)
{
    return { QStringLiteral("ALARM_%1-NOTIFICATION-MESSAGE-").arg(slot), { 1000, 1000, 8745, 3420 } };
}

} // namespace windows

} // namespace vqdbd

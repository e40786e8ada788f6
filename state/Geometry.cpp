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

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartupState.h"

#include "LiveState.h"
#include "SettingKeys.h"
#include "SettingsStore.h"
#include "ValueForms.h"

namespace vqdbd {

void readSlotField(SettingsStore& store, int n, const SlotFieldInfo& info, AlarmSlot& into)
{
    const AlarmSlot defaults = defaultSlot();
    const QString key = slotKey(info.field, n);
    if (info.isSwitch())
        into.*info.switchMember = store.readSwitch(key, defaults.*info.switchMember);
    else
        into.*info.textMember = store.getSetting(key, defaults.*info.textMember);
}

void readLiveState(SettingsStore& store, LiveState& state, int timeTextLength)
{
    using namespace settings;
    state.setAlwaysOnTopCheckRunning(
        forms::isOn(store.readSwitch(kAlwaysOnTop.name(), kAlwaysOnTop.defaultValue)));
    state.setTextColour(store.readColour(kTextColour.name(), kTextColour.defaultValue));
    state.setBackColour(store.readColour(kBackColour.name(), kBackColour.defaultValue));
    state.masterSwitch = store.readSwitch(kEnableAlarms.name(), kEnableAlarms.defaultValue);

    for (const SlotFieldInfo& info : kSlotFields) {
        for (int n = 1; n <= kSlotCount; ++n) {
            AlarmSlot& slot = state.slot(n);
            readSlotField(store, n, info, slot);
            if (info.field == SlotField::Time)
                slot.time.truncate(timeTextLength);
        }
    }
}

} // namespace vqdbd

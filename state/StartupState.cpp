// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartupState.h"

#include "LiveState.h"
#include "SettingKeys.h"
#include "SettingsStore.h"
#include "ValueForms.h"

namespace vqdbd {

void readLiveState(SettingsStore& store, LiveState& state, int timeTextLength)
{
    using namespace settings;
    state.setAlwaysOnTopCheckRunning(
        forms::isOn(store.readSwitch(kAlwaysOnTop.name(), kAlwaysOnTop.defaultValue)));
    state.setTextColour(store.readColour(kTextColour.name(), kTextColour.defaultValue));
    state.setBackColour(store.readColour(kBackColour.name(), kBackColour.defaultValue));
    state.masterSwitch = store.readSwitch(kEnableAlarms.name(), kEnableAlarms.defaultValue);

    const AlarmSlot defaults = defaultSlot();
    for (const SlotFieldInfo& info : kSlotFields) {
        for (int n = 1; n <= kSlotCount; ++n) {
            const QString key = slotKey(info.field, n);
            AlarmSlot& slot = state.slot(n);
            if (info.isSwitch) {
                switchField(slot, info.field) = store.readSwitch(key, switchField(defaults, info.field));
            } else {
                QString text = store.readText(key, textField(defaults, info.field));
                if (info.field == SlotField::Time)
                    text.truncate(timeTextLength);
                textField(slot, info.field) = text;
            }
        }
    }
}

void startChecks(LiveState& state)
{
    state.switchAlarms(state.masterSwitch);
}

} // namespace vqdbd

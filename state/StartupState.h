// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vqdbd {

class LiveState;
class SettingsStore;
struct AlarmSlot;
struct SlotFieldInfo;

// Reads one field of slot n from the store into `into`, the field's default standing in for a
// missing or damaged value.
void readSlotField(SettingsStore& store, int n, const SlotFieldInfo& info, AlarmSlot& into);

// Fills the live state from the store in the clock's start-up order: the always-on-top switch, which
// starts its check exactly when it is 1 (the settings window switches it later), the two clock
// colours, the master alarm switch, then the nine slot fields one field at a time across all ten
// slots. A stored time keeps at most `timeTextLength` characters, as the time box would. The slot
// checks follow from what is read: under a master switch of exactly 1, each enabled slot's check runs.
void readLiveState(SettingsStore& store, LiveState& state, int timeTextLength);

} // namespace vqdbd

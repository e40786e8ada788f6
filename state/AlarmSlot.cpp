// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmSlot.h"

#include "SettingKeys.h"

namespace vqdbd {

const SlotFieldInfo& slotFieldInfo(SlotField field)
{
    return kSlotFields[static_cast<std::size_t>(field)];
}

QString slotKey(SlotField field, int slot)
{
    return QString::fromLatin1(slotFieldInfo(field).keyPattern).arg(slot);
}

QString storedText(const AlarmSlot& slot, SlotField field)
{
    const SlotFieldInfo& info = slotFieldInfo(field);
    return info.isSwitch() ? QString::number(slot.*info.switchMember) : slot.*info.textMember;
}

AlarmSlot defaultSlot()
{
    return {};
}

} // namespace vqdbd

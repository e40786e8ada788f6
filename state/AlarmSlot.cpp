// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmSlot.h"

#include <QtGlobal>

namespace vqdbd {

const SlotFieldInfo& slotFieldInfo(SlotField field)
{
    return kSlotFields[static_cast<std::size_t>(field)];
}

QString slotKey(SlotField field, int slot)
{
    return QString::fromLatin1(slotFieldInfo(field).keyPattern).arg(slot);
}

int& switchField(AlarmSlot& slot, SlotField field)
{
    switch (field) {
    case SlotField::Enabled:
        return slot.enabled;
    case SlotField::ShowMessage:
        return slot.showMessage;
    case SlotField::RunCommand:
        return slot.runCommand;
    case SlotField::AutoClose:
        return slot.autoClose;
    case SlotField::RunHidden:
        return slot.runHidden;
    default:
        break;
    }
    qFatal("switchField: not a switch");
}

QString& textField(AlarmSlot& slot, SlotField field)
{
    switch (field) {
    case SlotField::Name:
        return slot.name;
    case SlotField::Time:
        return slot.time;
    case SlotField::Message:
        return slot.message;
    case SlotField::Command:
        return slot.command;
    default:
        break;
    }
    qFatal("textField: not a text");
}

int switchField(const AlarmSlot& slot, SlotField field)
{
    return switchField(const_cast<AlarmSlot&>(slot), field);
}

QString textField(const AlarmSlot& slot, SlotField field)
{
    return textField(const_cast<AlarmSlot&>(slot), field);
}

QString storedText(const AlarmSlot& slot, SlotField field)
{
    return slotFieldInfo(field).isSwitch ? QString::number(switchField(slot, field)) : textField(slot, field);
}

AlarmSlot defaultSlot()
{
    return {};
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

namespace vqdbd {

inline constexpr int kSlotCount = 10;
// A slot's time holds as many characters as the clock's time text has in the user's locale
// (TimeTextFormat::longestText), never fewer than the 8 of HH:mm:ss; a longer text keeps its start.
inline constexpr int kShortestTimeTextLength = 8;

// One alarm slot; switches hold 0 (off) or 1 (on), and only exactly 1 counts as on.
struct AlarmSlot
{
    int enabled = 0;
    QString name = QStringLiteral("Alarm Name");
    QString time = QStringLiteral("00:00:00");
    int showMessage = 0;
    QString message = QStringLiteral("Display Message");
    int runCommand = 0;
    QString command = QStringLiteral("Run Command");
    int runHidden = 0;
    int autoClose = 0;

    friend bool operator==(const AlarmSlot&, const AlarmSlot&) = default;
};

// The nine fields, in the order the clock reads them at start-up.
enum class SlotField
{
    Enabled,
    Name,
    Time,
    ShowMessage,
    Message,
    RunCommand,
    Command,
    AutoClose,
    RunHidden,
};

struct SlotFieldInfo
{
    SlotField field;
    bool isSwitch; // otherwise free text
    const char* keyPattern; // %1 stands for the slot number
};

inline constexpr std::array<SlotFieldInfo, 9> kSlotFields = { {
    { SlotField::Enabled, true, "ALARM_%1_TICKBOX" },
    { SlotField::Name, false, "ALARM_%1_NAME_TEXTBOX" },
    { SlotField::Time, false, "ALARM_%1_TIME_TEXTBOX" },
    { SlotField::ShowMessage, true, "ALARM_%1_DISPLAY_MESSAGE_TICKBOX" },
    { SlotField::Message, false, "ALARM_%1_MESSAGE_TEXTBOX" },
    { SlotField::RunCommand, true, "ALARM_%1_RUN_COMMAND_TICKBOX" },
    { SlotField::Command, false, "ALARM_%1_RUN_COMMAND_TEXTBOX" },
    { SlotField::AutoClose, true, "ALARM_%1_MESSAGE_AUTO_CLOSE_TICKBOX" },
    { SlotField::RunHidden, true, "RUN_HIDDEN_%1_TICKBOX" },
} };

const SlotFieldInfo& slotFieldInfo(SlotField field);
// The settings key (and control name) of a field of slot n, for example ALARM_3_TIME_TEXTBOX.
QString slotKey(SlotField field, int slot);

int& switchField(AlarmSlot& slot, SlotField field);
QString& textField(AlarmSlot& slot, SlotField field);
int switchField(const AlarmSlot& slot, SlotField field);
QString textField(const AlarmSlot& slot, SlotField field);
// The value of a field as stored: switches as "0"/"1", texts unchanged.
QString storedText(const AlarmSlot& slot, SlotField field);
AlarmSlot defaultSlot();

} // namespace vqdbd

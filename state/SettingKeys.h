// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AlarmSlot.h"

#include <QString>
#include <array>

namespace vqdbd {

// Every key the program reads or writes, once, with its default and the form of its value. A key is
// also the name of the control that shows it.
namespace settings {

struct Setting
{
    enum class Form
    {
        Switch, // 0 (off) or 1 (on)
        Colour, // 0x00BBGGRR
    };
    const char* key;
    Form form;
    qint32 defaultValue;

    QString name() const { return QString::fromLatin1(key); }
};

// A key holding free text.
struct TextSetting
{
    const char* key;
    const char* defaultText;

    QString name() const { return QString::fromLatin1(key); }
    QString defaultValue() const { return QString::fromLatin1(defaultText); }
};

inline constexpr Setting kAlwaysOnTop { "AlwaysOnTop_TICKBOX", Setting::Form::Switch, 1 };
inline constexpr Setting kEnableAlarms { "ENABLE_ALARMS_TICKBOX", Setting::Form::Switch, 0 };
inline constexpr Setting kTextColour { "CLOCK_FORECOLOR", Setting::Form::Colour, 65280 }; // green
inline constexpr Setting kBackColour { "CLOCK_BACKCOLOR", Setting::Form::Colour, 0 }; // black
// The colours window's manual entries.
inline constexpr Setting kManualTextColour { "MANUAL_TEXT_COLOR_TICKBOX", Setting::Form::Switch, 0 };
inline constexpr Setting kManualBackColour { "MANUAL_BACKGROUND_COLOR_TICKBOX", Setting::Form::Switch, 0 };
inline constexpr TextSetting kEnteredTextColour { "ENTER_TEXT_COLOR_TEXTBOX", "&H0000FF00&" };
inline constexpr TextSetting kEnteredBackColour { "ENTER_BACKGROUND_COLOR_TEXTBOX", "&H00000000&" };

} // namespace settings

// The nine fields of a slot, in the order the clock reads them at start-up.
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

// A field's key and the AlarmSlot member it is kept in, whose initial value is its default. A switch
// is stored as "0"/"1", a text as it stands.
struct SlotFieldInfo
{
    SlotField field;
    const char* keyPattern; // %1 stands for the slot number
    int AlarmSlot::*switchMember;
    QString AlarmSlot::*textMember;

    constexpr bool isSwitch() const { return switchMember != nullptr; }
};

inline constexpr std::array<SlotFieldInfo, 9> kSlotFields = { {
    { SlotField::Enabled, "ALARM_%1_TICKBOX", &AlarmSlot::enabled, nullptr },
    { SlotField::Name, "ALARM_%1_NAME_TEXTBOX", nullptr, &AlarmSlot::name },
    { SlotField::Time, "ALARM_%1_TIME_TEXTBOX", nullptr, &AlarmSlot::time },
    { SlotField::ShowMessage, "ALARM_%1_DISPLAY_MESSAGE_TICKBOX", &AlarmSlot::showMessage, nullptr },
    { SlotField::Message, "ALARM_%1_MESSAGE_TEXTBOX", nullptr, &AlarmSlot::message },
    { SlotField::RunCommand, "ALARM_%1_RUN_COMMAND_TICKBOX", &AlarmSlot::runCommand, nullptr },
    { SlotField::Command, "ALARM_%1_RUN_COMMAND_TEXTBOX", nullptr, &AlarmSlot::command },
    { SlotField::AutoClose, "ALARM_%1_MESSAGE_AUTO_CLOSE_TICKBOX", &AlarmSlot::autoClose, nullptr },
    { SlotField::RunHidden, "RUN_HIDDEN_%1_TICKBOX", &AlarmSlot::runHidden, nullptr },
} };

const SlotFieldInfo& slotFieldInfo(SlotField field);
// The settings key (and control name) of a field of slot n, for example ALARM_3_TIME_TEXTBOX.
QString slotKey(SlotField field, int slot);
// The value of a field as stored: switches as "0"/"1", texts unchanged.
QString storedText(const AlarmSlot& slot, SlotField field);

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

// The geometry keys of one window: a prefix followed by Left, Top, Width and Height, each in twips.
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

namespace windows {
inline WindowKeys clock()
{
    return { QStringLiteral("CLOCK-MAIN-"), { 1000, 1000, 3585, 1230 }, kToolWindowFrame };
}
inline WindowKeys settings()
{
    return { QStringLiteral("MAIN-SETTINGS-"), { 1000, 1000, 8505, 2130 } };
}
inline WindowKeys colours()
{
    return { QStringLiteral("COLORS-WINDOW-"), { 1000, 1000, 9240, 3570 } };
}
inline WindowKeys alarmSettings()
{
    return { QStringLiteral("ALARM-SETTINGS-"), { 1000, 1000, 13680, 8355 } };
}
inline WindowKeys testNotification()
{
    return { QStringLiteral("ALARM-TEST-NOTIFICATION-MESSAGE-"), { 1000, 1000, 8745, 3420 } };
}
inline WindowKeys notification(int slot)
{
    return { QStringLiteral("ALARM_%1-NOTIFICATION-MESSAGE-").arg(slot), { 1000, 1000, 8745, 3420 } };
}
} // namespace windows

} // namespace vqdbd

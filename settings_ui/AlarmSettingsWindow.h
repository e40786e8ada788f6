// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogSupport.h"
#include "state/FiringTimes.h"
#include "state/SettingKeys.h"

#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vqdbd {

// The alarm settings window: the ten alarm rows and the master alarm switch. Each check box runs
// its rule whenever its value changes, however it changed. The master switch acts at once on the
// store and the clock, and while it is off greys the rows out without changing them, so switching
// alarms off for a while loses no alarm; OK saves every row, puts it into the live state and switches
// the slot checks.
class AlarmSettingsWindow final : public dialogs::Dialog<AlarmSettingsWindow>
{
    Q_OBJECT
public:
    AlarmSettingsWindow(const WindowServices& services, QWidget* owner);

    // Reads the window's place, the master switch and the ten rows from the store (never from the
    // live state), the rules running for every check box that comes up ticked.
    void load();

private:
    struct Row
    {
        int slot = 0;
        std::array<QWidget*, 9> controls {}; // one for each field, in the order of kSlotFields
        QLabel* note = nullptr;

        QWidget& control(SlotField field) const;
        QCheckBox& tickbox(SlotField field) const;
        QLineEdit& textbox(SlotField field) const;
        // The slot as the row shows it, and the row showing one field of a slot.
        AlarmSlot shown() const;
        void show(const AlarmSlot& values, const SlotFieldInfo& info) const;
    };

    // Finds slot n's built controls and connects their handlers.
    void takeRow(Row& row);
    // While alarms are off every row is greyed out as it stands, its ticks and texts kept; greyRows
    // remembers which controls it disabled so that ungreyRows gives each its own state back.
    void greyRows();
    void ungreyRows();
    void onEnableAlarmsTickboxChanged();
    void onAlarmTickboxChanged(Row& row);
    void onDisplayMessageTickboxChanged(Row& row);
    void onRunCommandTickboxChanged(Row& row);
    void onTimeTextboxChanged(Row& row);
    void onRunCommandTextboxChanged(Row& row);
    void onOkClicked();
    void onTestAlarmWindowButtonClicked();
    QString neverFiresNote() const;
    void showRowNote(Row& row);

    FiringTimes firingTimes_;
    QCheckBox* enableAlarms_ = nullptr;
    QPushButton* okButton_ = nullptr;
    std::array<Row, kSlotCount> rows_ {};
    std::vector<QWidget*> greyedControls_;
    bool loaded_ = false;
};

} // namespace vqdbd

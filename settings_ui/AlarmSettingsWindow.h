// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogSupport.h"
#include "state/AlarmSlot.h"
#include "state/FiringTimes.h"

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
        QCheckBox* enabled = nullptr;
        QLineEdit* name = nullptr;
        QLineEdit* time = nullptr;
        QCheckBox* showMessage = nullptr;
        QLineEdit* message = nullptr;
        QCheckBox* autoClose = nullptr;
        QCheckBox* runCommand = nullptr;
        QCheckBox* runHidden = nullptr;
        QLineEdit* command = nullptr;
        QLabel* note = nullptr;
    };

    // Finds slot n's built controls and connects their handlers.
    void takeRow(Row& row);
    // A row's controls that hold its fields, in reading order.
    static std::array<QWidget*, 9> rowControls(const Row& row);
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
    QCheckBox* tickbox(const Row& row, SlotField field) const;
    QLineEdit* textbox(const Row& row, SlotField field) const;

    FiringTimes firingTimes_;
    QCheckBox* enableAlarms_ = nullptr;
    QPushButton* okButton_ = nullptr;
    std::array<Row, kSlotCount> rows_ {};
    std::vector<QWidget*> greyedControls_;
    bool loaded_ = false;
};

} // namespace vqdbd

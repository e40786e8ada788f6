// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AlarmSlot.h"
#include "SettingKeys.h"

#include <QObject>
#include <array>

namespace vqdbd {

// What the clock window holds for all windows while the program runs: the ten alarm slots, the
// switches, the clock's colours and whether the always-on-top check runs. Filled from the store at start-up;
// the settings windows change it and the alarm checks and notification windows read it.
class LiveState final : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Slots are numbered 1 to 10.
    AlarmSlot& slot(int n) { return slots_.at(static_cast<std::size_t>(n - 1)); }
    const AlarmSlot& slot(int n) const { return slots_.at(static_cast<std::size_t>(n - 1)); }
    // The constant number texts shown by notification windows: "1" to "10", and "T" for the test window.
    static QString slotNumberText(int n) { return QString::number(n); }
    static QString testNumberText() { return QStringLiteral("T"); }

    // The master alarm switch: while it is on, exactly the enabled slots' checks run; while it is off,
    // none does. Switching it leaves the slots themselves as they are.
    int masterSwitch = settings::kEnableAlarms.defaultValue;

    qint32 textColour() const { return textColour_; }
    qint32 backColour() const { return backColour_; }
    void setTextColour(qint32 colour);
    void setBackColour(qint32 colour);

    bool isAlwaysOnTopCheckRunning() const { return alwaysOnTopCheckRunning_; }
    void setAlwaysOnTopCheckRunning(bool running);

    bool isSlotCheckRunning(int n) const;

Q_SIGNALS:
    void coloursChanged();
    void alwaysOnTopCheckChanged(bool running);

private:
    std::array<AlarmSlot, kSlotCount> slots_ {};
    qint32 textColour_ = settings::kTextColour.defaultValue;
    qint32 backColour_ = settings::kBackColour.defaultValue;
    bool alwaysOnTopCheckRunning_ = false;
};

} // namespace vqdbd

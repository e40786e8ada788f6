// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "alarms/AlarmWindows.h"
#include "state/AlarmSlot.h"
#include "ui/WindowServices.h"

#include <QPointer>
#include <array>

class QWidget;

namespace vqdbd {

class AlarmNotificationWindow;

// The ten slot notification windows as the alarm engine sees them: each opens over the owner (the
// clock window), modally, and several stay open at once, one above the other; never two of one slot.
class SlotNotificationWindows final : public AlarmWindows
{
public:
    SlotNotificationWindows(const WindowServices& services, QWidget& owner);

    bool isWindowOpen(int slot) const override;
    void openWindow(int slot) override;
    void showFiredAgain(int slot, const QString& firedAt) override;
    // Slot n's open window, if any.
    AlarmNotificationWindow* window(int slot) const;

private:
    WindowServices services_;
    QWidget& owner_;
    std::array<QPointer<AlarmNotificationWindow>, kSlotCount> windows_ {};
};

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotNotificationWindows.h"

#include "AlarmNotificationWindow.h"

namespace vqdbd {

SlotNotificationWindows::SlotNotificationWindows(const WindowServices& services, QWidget& owner)
    : services_(services)
    , owner_(owner)
{ }

AlarmNotificationWindow* SlotNotificationWindows::window(int slot) const
{
    AlarmNotificationWindow* open = windows_.at(static_cast<std::size_t>(slot - 1));
    // A closed window is deleted soon after; until then it no longer counts as open.
    return open && open->isVisible() ? open : nullptr;
}

bool SlotNotificationWindows::isWindowOpen(int slot) const
{
    return window(slot) != nullptr;
}

void SlotNotificationWindows::openWindow(int slot)
{
    windows_.at(static_cast<std::size_t>(slot - 1))
        = AlarmNotificationWindow::showOver(services_, slot, &owner_);
}

void SlotNotificationWindows::showFiredAgain(int slot, const QString& firedAt)
{
    if (AlarmNotificationWindow* open = window(slot))
        open->showFiredAgain(firedAt);
    else
        openWindow(slot);
}

} // namespace vqdbd

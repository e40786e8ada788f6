// SPDX-License-Identifier: GPL-3.0-or-later
#include "LiveState.h"

#include "ValueForms.h"

namespace vqdbd {

void LiveState::setTextColour(qint32 colour)
{
    if (colour == textColour_)
        return;
    textColour_ = colour;
    Q_EMIT coloursChanged();
}

void LiveState::setBackColour(qint32 colour)
{
    if (colour == backColour_)
        return;
    backColour_ = colour;
    Q_EMIT coloursChanged();
}

void LiveState::setAlwaysOnTopCheckRunning(bool running)
{
    if (running == alwaysOnTopCheckRunning_)
        return;
    alwaysOnTopCheckRunning_ = running;
    Q_EMIT alwaysOnTopCheckChanged(running);
}

void LiveState::setSlotCheckRunning(int n, bool running)
{
    bool& check = slotChecks_.at(static_cast<std::size_t>(n - 1));
    if (check == running)
        return;
    check = running;
    Q_EMIT slotCheckChanged(n, running);
}

void LiveState::switchAlarms(int master)
{
    masterSwitch = master;
    for (int n = 1; n <= kSlotCount; ++n)
        setSlotCheckRunning(n, forms::isOn(master) && forms::isOn(slot(n).enabled));
}

} // namespace vqdbd

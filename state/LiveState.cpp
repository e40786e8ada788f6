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

bool LiveState::isSlotCheckRunning(int n) const
{
    return forms::isOn(masterSwitch) && forms::isOn(slot(n).enabled);
}

} // namespace vqdbd

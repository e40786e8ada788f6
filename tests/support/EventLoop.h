// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>

namespace vqdbd::test {

// Runs every event and timer already due, and what they post in turn, without waiting for anything
// that is not: "nothing more happens" then holds for all the program had queued.
inline void runPendingEvents()
{
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

} // namespace vqdbd::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTest>

namespace vqdbd::test {

// Wall-clock thresholds are checked only in the runs labelled "timing" (VQDBD_TIMING=1), which the
// sanitized build skips: its slow-down is not the program's. The ordinary runs check the rest.
inline bool timingChecked()
{
    return qEnvironmentVariableIsSet("VQDBD_TIMING");
}

} // namespace vqdbd::test

#define TIMING_VERIFY2(condition, message)                                                                   \
    do {                                                                                                     \
        if (::vqdbd::test::timingChecked())                                                                  \
            QVERIFY2(condition, message);                                                                    \
    } while (false)

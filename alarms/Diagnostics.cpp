// SPDX-License-Identifier: GPL-3.0-or-later
#include "Diagnostics.h"

namespace vqdbd {

Q_LOGGING_CATEGORY(alarmsLog, "vqdbd.alarms", QtInfoMsg)

void writeToAlarmsLog(const QString& line)
{
    qCWarning(alarmsLog, "%s", qUtf8Printable(line));
}

} // namespace vqdbd

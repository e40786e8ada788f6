// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>
#include <QString>
#include <functional>

namespace vqdbd {

// The program's lines about alarms: alarms passed over or fired again, commands that did not start
// or failed.
Q_DECLARE_LOGGING_CATEGORY(alarmsLog)

// Where the alarm engine's lines go; tests catch them instead.
using Diagnostics = std::function<void(const QString& line)>;

// Writes the line as a warning of vqdbd.alarms.
void writeToAlarmsLog(const QString& line);

} // namespace vqdbd

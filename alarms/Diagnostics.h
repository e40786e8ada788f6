// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UserNotice.h"

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

// What the alarms tell the user: each line goes to vqdbd.alarms, then to the notice it is shown by.
class LoggedNotice final : public UserNotice
{
public:
    explicit LoggedNotice(UserNotice& shown)
        : shown_(shown)
    { }
    void tell(const QString& title, const QString& text) override
    {
        writeToAlarmsLog(text);
        shown_.tell(title, text);
    }

private:
    UserNotice& shown_;
};

} // namespace vqdbd

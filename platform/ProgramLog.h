// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace vqdbd {

// The program's lines about the operating system and the desktop: timers, signals, the session bus.
Q_DECLARE_LOGGING_CATEGORY(platformLog)

// From now on every line of the program's own categories (vqdbd.*) goes to standard error as
// "<name>: <text>", the name being the file name the program was started under (argv[0]), so a copy
// started under another name says so; the lines of Qt's categories keep Qt's own handling.
// QT_LOGGING_RULES chooses which lines are written at all. Called first thing in main.
void installProgramLog(const char* programPath);

} // namespace vqdbd

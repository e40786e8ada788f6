// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vqdbd {

// How a started program's window should come up: 0 hidden, 1 shown normally with the focus.
enum class WindowStyle
{
    Hidden = 0,
    Normal = 1,
};

// Starts programs that run on by themselves: the caller does not wait for them or keep them.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // Returns an empty string once the program has started, otherwise why it could not start.
    virtual QString start(const QString& program, const QStringList& arguments, WindowStyle style) = 0;
};

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

namespace vqdbd {

// How a started program's window should come up: 0 hidden, 1 shown normally with the focus.
enum class WindowStyle
{
    Hidden = 0,
    Normal = 1,
};

// How a started program ended, as learnt when it was reaped.
struct ProcessEnding
{
    // The most of its standard error that is kept: the end of what it wrote.
    static constexpr qsizetype kErrorTailBytes = 4096;

    int exitStatus = 0; // the status it exited with, when no signal ended it
    int signal = 0; // the signal that ended it; 0 when it exited
    QString signalName; // that signal's name, "SIGKILL"
    QByteArray errorTail; // the last bytes it wrote to its standard error, at most kErrorTailBytes
    std::chrono::sys_seconds started {}; // when it was started

    bool succeeded() const { return signal == 0 && exitStatus == 0; }
};

// Hears how a started program ended: called once, from the event loop, and never after the launcher
// that started the program is gone.
using EndingHandler = std::function<void(const ProcessEnding& ending)>;

// Starts programs that run on by themselves: the caller does not wait for them or keep them, and the
// launcher never ends one.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // Returns an empty string once the program has started, otherwise why it could not start; only a
    // program that started is heard of again, through `whenEnded`.
    virtual QString start(const QString& program, const QStringList& arguments, WindowStyle style,
                          EndingHandler whenEnded = {})
        = 0;
};

} // namespace vqdbd

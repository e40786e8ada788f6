// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <QByteArray>
#include <QString>

namespace vqdbd {

class TimeTextFormat;

// Who asked for a command and when, as the line about its ending names them.
struct CommandRequest
{
    QString origin; // "alarm 3", "RUN NOW of alarm 3", "RUN NOW of the test notification window"
    QString name; // the alarm's name at that moment
    QString commandLine;
    QString at; // when it fired or RUN NOW was pressed, as dayAndTimeText writes it
    bool pressed = false; // RUN NOW asked for it, not a firing
};

// The most characters of a command's last error line that a report quotes.
inline constexpr qsizetype kMostErrorLineCharacters = 200;

// The last line with something on it in the end of a command's error output, as one line of safe text:
// invalid UTF-8 becomes U+FFFD, terminal colour and title sequences are dropped, a tab is a blank, and
// every other control character (and each bidirectional override) is U+FFFD. A carriage return ends a
// line as a line feed does, since a terminal shows what follows it over what came before. A line
// longer than kMostErrorLineCharacters is cut, its last character then "…".
QString lastErrorLine(const QByteArray& errorTail);

// The one line that says a started command failed (a non-zero exit status, or a signal ended it), for
// standard error and the user alike; empty for a command that succeeded.
QString commandEndingLine(const CommandRequest& request, const ProcessEnding& ending);

// When something happened, for a report or a window that may be read days later: "Tue 5 Mar 07:30:00",
// with the time of day as the clock showed it.
QString dayAndTimeText(qint64 localSecond, const QString& timeText);
// The same for a UTC second, its time of day written by `format`.
QString dayAndTimeText(qint64 utcSecond, const TimeTextFormat& format);

} // namespace vqdbd

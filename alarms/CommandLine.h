// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vqdbd {

// Where the splitter looks up what `$NAME`, `${NAME}` and `~` stand for.
struct WordExpansion
{
    // The value of an environment variable, or nothing when it is not set (it then expands to nothing).
    std::function<std::optional<QString>(const QString& name)> variable;
    // The home folder of a user; an empty name means the user running the clock.
    std::function<std::optional<QString>(const QString& user)> homeOf;
};

// The process environment and the password database.
WordExpansion systemExpansion();

struct SplitCommandLine
{
    QStringList words; // the program first, then its arguments
    QString problem; // why the line cannot be run; empty when it splits
};

// Splits a command line into words the way a POSIX shell does, with no shell involved: blanks separate
// words; single quotes keep everything literally; double quotes keep blanks and still expand `$NAME`;
// a backslash takes the next character literally (inside double quotes only before $ ` " \ and a line
// feed); `#` at the start of a word begins a comment. An unquoted `~` or `~user` at the start of a
// word becomes a home folder, and `$NAME` or `${NAME}` the variable's value, which is never split
// further. Command substitution, other parameter forms (${NAME:-word}, and the special parameters
// $$ $1 $? $# $! $@ $* $- $0), and the shell's operators | & ; < > ( ) outside quotes are refused with
// a reason: a line that wants a shell asks for one with sh -c '...'.
// Pathname patterns (* ? [) are taken literally.
SplitCommandLine splitCommandLine(const QString& line, const WordExpansion& expansion = systemExpansion());

} // namespace vqdbd

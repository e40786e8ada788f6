// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: splitting a command line never crashes or hangs, and a line it accepts always
// names a program.
#include "alarms/CommandLine.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Expansion that depends only on the input, so that every run is reproducible.
    const vqdbd::WordExpansion expansion {
        [](const QString& name) -> std::optional<QString> {
            if (name.startsWith(u'U'))
                return std::nullopt;
            return QStringLiteral("value of ") + name;
        },
        [](const QString& user) -> std::optional<QString> {
            if (user == u"nobody")
                return std::nullopt;
            return QStringLiteral("/home/") + (user.isEmpty() ? QStringLiteral("me") : user);
        },
    };
    const vqdbd::SplitCommandLine split = vqdbd::splitCommandLine(line, expansion);
    if (split.problem.isEmpty() && split.words.isEmpty())
        std::abort();
    return 0;
}

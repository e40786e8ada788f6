// SPDX-License-Identifier: GPL-3.0-or-later
// A second copy of the program, as far as the settings file is concerned.
// Usage: settings_writer FILE NAME COUNT   writes NAME=NAME-i and SHARED=NAME-i for i = 1..COUNT,
//                                          each write on its own
//        settings_writer FILE --hold-lock  takes the file's lock, says "locked" and holds it until
//                                          its standard input closes
#include "platform/IniSettingsBackend.h"

#include <QLockFile>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int holdLock(const QString& file)
{
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(5000))
        return 1;
    std::puts("locked");
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[2], "--hold-lock") == 0)
        return holdLock(QString::fromLocal8Bit(argv[1]));
    if (argc != 4)
        return 2;
    vqdbd::IniSettingsBackend backend(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    for (int i = 1; i <= count; ++i) {
        const QString value = name + u'-' + QString::number(i);
        for (const QString& key : { name, QStringLiteral("SHARED") }) {
            // Patient where the program is not: this copy has no pending writes to fall back on.
            const QString problem = backend.write({ { key, value } }, std::chrono::seconds(10));
            if (!problem.isEmpty()) {
                std::fprintf(stderr, "%s\n", qUtf8Printable(problem));
                return 1;
            }
        }
    }
    return 0;
}

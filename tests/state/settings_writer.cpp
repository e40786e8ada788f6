// A second copy of the program, as far as the settings file is concerned: writes KEY=NAME-i and
// SHARED=NAME-i for i = 1..COUNT into the file, each write on its own.
// Usage: settings_writer FILE NAME COUNT
#include "platform/IniSettingsBackend.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 4)
        return 2;
    vqdbd::IniSettingsBackend backend(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    for (int i = 1; i <= count; ++i) {
        const QString value = name + u'-' + QString::number(i);
        for (const QString& key : { name, QStringLiteral("SHARED") }) {
            const QString problem = backend.write(key, value);
            if (!problem.isEmpty()) {
                std::fprintf(stderr, "%s\n", qUtf8Printable(problem));
                return 1;
            }
        }
    }
    return 0;
}

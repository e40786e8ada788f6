// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutostartFile.h"

#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace vqdbd::autostart {

namespace {

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString entryPath(const QString& appId)
{
    return folder() + QLatin1Char('/') + appId + QStringLiteral(".desktop");
}

} // namespace

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart");
}

QString invokedProgramPath(const QString& argument0, const QByteArray& pathVariable,
                           const QString& workingFolder)
{
    if (argument0.isEmpty())
        return {};
    if (argument0.contains(QLatin1Char('/'))) {
        const QString path = QDir::cleanPath(QDir(workingFolder).absoluteFilePath(argument0));
        return isExecutableFile(path) ? path : QString();
    }
    // An empty element of PATH stands for the working folder.
    for (const QString& element : QString::fromLocal8Bit(pathVariable).split(QLatin1Char(':'))) {
        const QString searched = element.isEmpty() ? workingFolder : element;
        const QString path
            = QDir::cleanPath(QDir(workingFolder).absoluteFilePath(searched + QLatin1Char('/') + argument0));
        if (isExecutableFile(path))
            return path;
    }
    return {};
}

bool isRunningProgram(const QString& path)
{
    const QString running = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return !running.isEmpty() && QFileInfo(path).canonicalFilePath() == running;
}

QString writeEntry(const QString& path, const QByteArray& text)
{
    const QString folderPath = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folderPath))
        return QStringLiteral("cannot make the folder ") + folderPath;
    // An entry that is a symbolic link (a dotfile manager's) is replaced where it leads.
    QFileInfo target(path);
    for (int depth = 0; depth < 128 && target.isSymLink(); ++depth)
        target.setFile(target.symLinkTarget());
    return settingsfile::replace(target.isSymLink() ? path : target.filePath(), text,
                                 QStringLiteral("entry"));
}

Removal removeEntry(const QString& path, QString& problem)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return Removal::Absent;
    QFile file(path);
    if (!file.remove()) {
        problem = info.isDir() ? QStringLiteral("it is a folder") : file.errorString();
        return Removal::Failed;
    }
    return Removal::Removed;
}

QString execArgument(const QString& path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool quoted = std::any_of(path.cbegin(), path.cend(), [](QChar c) { return reserved.contains(c); });
    QString argument;
    for (const QChar c : path) {
        // Inside quotes ", `, $ and \ take a backslash; then the entry's string rules double every
        // backslash, and a literal % is written twice.
        if (quoted
            && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                || c == QLatin1Char('\\')))
            argument += QStringLiteral("\\\\");
        if (c == QLatin1Char('\\'))
            argument += QStringLiteral("\\\\");
        else if (c == QLatin1Char('%'))
            argument += QStringLiteral("%%");
        else
            argument += c;
    }
    return quoted ? QLatin1Char('"') + argument + QLatin1Char('"') : argument;
}

QString entryText(const QString& programPath, const QString& iconName)
{
    const bool writable = !programPath.isEmpty()
        && std::none_of(programPath.cbegin(), programPath.cend(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
    if (!writable)
        return {};
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=VQ-DRUM-BEAT-DIAL\n"
                          "Comment=Digital clock with ten daily alarms, started at login\n"
                          "Exec=")
        + execArgument(programPath) + QStringLiteral("\nIcon=") + iconName
        + QStringLiteral("\nTerminal=false\n");
}

Outcome switchOn(const QString& programName, const QString& argument0, const QString& appId)
{
    const QString program = invokedProgramPath(argument0, qgetenv("PATH"), QDir::currentPath());
    if (program.isEmpty() || !isRunningProgram(program))
        return { 1,
                 programName + QStringLiteral(": cannot tell which file was started as '") + argument0
                     + QStringLiteral("'; start the program by its path to set up the start at login\n") };
    const QString text = entryText(program, appId);
    if (text.isEmpty())
        return { 1,
                 programName + QStringLiteral(": the path ") + program
                     + QStringLiteral(" cannot be written in a desktop entry\n") };
    const QString entry = entryPath(appId);
    const QString problem = writeEntry(entry, text.toUtf8());
    if (!problem.isEmpty())
        return { 1,
                 programName + QStringLiteral(": cannot write ") + entry + QStringLiteral(": ") + problem
                     + QLatin1Char('\n') };
    return { 0,
             QStringLiteral("Wrote ") + entry + QStringLiteral(": ") + program
                 + QStringLiteral(" starts at login.\n") };
}

Outcome switchOff(const QString& programName, const QString& appId)
{
    const QString entry = entryPath(appId);
    QString problem;
    switch (removeEntry(entry, problem)) {
    case Removal::Removed:
        return {
            0, QStringLiteral("Removed ") + entry + QStringLiteral(": the clock no longer starts at login.\n")
        };
    case Removal::Absent:
        return { 0,
                 QStringLiteral("No ") + entry + QStringLiteral(": the clock does not start at login.\n") };
    case Removal::Failed:
        break;
    }
    return { 1,
             programName + QStringLiteral(": cannot remove ") + entry + QStringLiteral(": ") + problem
                 + QLatin1Char('\n') };
}

} // namespace vqdbd::autostart

// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutostartFile.h"

#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace vqdbd::autostart {

namespace {

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
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

} // namespace vqdbd::autostart

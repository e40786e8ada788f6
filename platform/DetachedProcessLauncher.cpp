#include "DetachedProcessLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace vqdbd {

QString DetachedProcessLauncher::start(const QString& program, const QStringList& arguments,
                                       WindowStyle style)
{
    if (program.isEmpty())
        return QStringLiteral("the program name is empty");
    const QString workingFolder = QDir::homePath();
    QString path;
    if (program.contains(u'/')) {
        path = QDir(workingFolder).absoluteFilePath(program);
    } else {
        path = QStandardPaths::findExecutable(program);
        if (path.isEmpty())
            return QStringLiteral("no program named \"%1\" was found on PATH").arg(program);
    }
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("%1 does not exist").arg(path);
    if (info.isDir())
        return QStringLiteral("%1 is a folder, not a program").arg(path);
    if (!info.isExecutable())
        return QStringLiteral("%1 is not executable").arg(path);

    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    if (style == WindowStyle::Hidden) {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    // The start reports a failing exec (for example a script whose interpreter is missing) at once.
    if (!process.startDetached())
        return QStringLiteral("%1 could not be started: %2").arg(path, process.errorString());
    return {};
}

} // namespace vqdbd

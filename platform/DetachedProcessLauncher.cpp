#include "DetachedProcessLauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace vqdbd {

QString DetachedProcessLauncher::start(const QString& program, const QStringList& arguments, WindowStyle style)
{
    if (program.isEmpty())
        return QStringLiteral("the command line is empty");
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return QStringLiteral("no program named \"%1\" was found on PATH").arg(program);
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("%1 does not exist").arg(path);
    if (info.isDir() || !info.isExecutable())
        return QStringLiteral("%1 is not an executable program").arg(path);

    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    process.setWorkingDirectory(QDir::homePath());
    process.setStandardInputFile(QProcess::nullDevice());
    if (style == WindowStyle::Hidden) {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    if (!process.startDetached())
        return process.errorString();
    return {};
}

} // namespace vqdbd

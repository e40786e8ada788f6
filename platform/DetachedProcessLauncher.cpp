// SPDX-License-Identifier: GPL-3.0-or-later
#include "DetachedProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace vqdbd {

namespace {

// The C library's own declaration lacks C linkage in C++, so the system call is made directly.
int openPidfd(pid_t pid)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

// Waits, without blocking anything, for one started program to end, and reaps it then.
class Reaper final : public QObject
{
public:
    Reaper(pid_t pid, QObject* parent)
        : QObject(parent)
        , pid_(pid)
        , pidfd_(openPidfd(pid))
    {
        if (pidfd_ >= 0) {
            auto* notifier = new QSocketNotifier(pidfd_, QSocketNotifier::Read, this);
            connect(notifier, &QSocketNotifier::activated, this, &Reaper::onEnded);
        } else {
            // A kernel without pidfds: look once a second instead.
            auto* timer = new QTimer(this);
            connect(timer, &QTimer::timeout, this, &Reaper::onEnded);
            timer->start(1000);
        }
    }

    ~Reaper() override
    {
        if (pidfd_ >= 0)
            ::close(pidfd_);
    }

private:
    void onEnded()
    {
        const pid_t reaped = ::waitpid(pid_, nullptr, WNOHANG);
        if (reaped == 0 || (reaped < 0 && errno == EINTR))
            return;
        for (QObject* child : children())
            delete child;
        deleteLater();
    }

    pid_t pid_;
    int pidfd_;
};

// The C strings of a list, kept alive as long as this lives.
class CStrings
{
public:
    void append(const QByteArray& text) { texts_.push_back(text); }
    std::vector<char*> pointers()
    {
        std::vector<char*> result;
        for (QByteArray& text : texts_)
            result.push_back(text.data());
        result.push_back(nullptr);
        return result;
    }

private:
    std::vector<QByteArray> texts_;
};

} // namespace

DetachedProcessLauncher::DetachedProcessLauncher() = default;

DetachedProcessLauncher::~DetachedProcessLauncher() = default;

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

    CStrings argv;
    argv.append(QFile::encodeName(program));
    for (const QString& argument : arguments)
        argv.append(argument.toLocal8Bit());
    std::vector<char*> argvPointers = argv.pointers();
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(workingFolder);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (style == WindowStyle::Hidden) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    if (QFileInfo(workingFolder).isDir())
        posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigfillset(&defaults);
    sigdelset(&defaults, SIGKILL);
    sigdelset(&defaults, SIGSTOP);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &noneBlocked);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t pid = 0;
    const int error
        = posix_spawn(&pid, file.constData(), &actions, &attributes, argvPointers.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return QStringLiteral("%1 could not be started: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(error)));
    reapWhenDone(pid);
    return {};
}

void DetachedProcessLauncher::reapWhenDone(qint64 pid)
{
    new Reaper(static_cast<pid_t>(pid), &reapers_);
}

} // namespace vqdbd

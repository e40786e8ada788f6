// SPDX-License-Identifier: GPL-3.0-or-later
#include "DetachedProcessLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
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

// A session of its own, every signal at its default and none blocked.
void initDetached(posix_spawnattr_t& attributes)
{
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
}

// Writes what it can of `bytes` to the clock's standard error without waiting; returns how many were
// written, or -1 once standard error can take nothing more for good (a closed pipe, a lost terminal).
// SIGPIPE is held back meanwhile: a reader of the clock's errors that went away must not end the clock.
qsizetype writeToOwnErrors(const QByteArray& bytes)
{
    // Small writes after poll() says there is room never wait, on a pipe, a terminal or a socket.
    constexpr qsizetype kMostAtOnce = 512;
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    sigset_t pendingBefore;
    sigpending(&pendingBefore);
    qsizetype written = 0;
    while (written < bytes.size()) {
        pollfd room { STDERR_FILENO, POLLOUT, 0 };
        if (::poll(&room, 1, 0) != 1)
            break;
        if ((room.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            written = -1;
            break;
        }
        const ssize_t put = ::write(STDERR_FILENO, bytes.constData() + written,
                                    static_cast<std::size_t>(std::min(kMostAtOnce, bytes.size() - written)));
        if (put > 0) {
            written += put;
        } else if (put < 0 && errno == EINTR) {
            continue;
        } else if (put < 0 && errno == EAGAIN) {
            break;
        } else {
            written = -1;
            break;
        }
    }
    if (written < 0 && sigismember(&pendingBefore, SIGPIPE) == 0) {
        const timespec now {};
        while (::sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) { }
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return written;
}

// Gives a pipe's read end to a process of its own that reads it to its end, into the clock's standard
// error when `passOn` and into /dev/null otherwise. A shell starts it in the background and ends at
// once, so the reader is no child of the clock's and never waits for it as a zombie.
void handToDrain(int readEnd, bool passOn)
{
    const QString cat = QStandardPaths::findExecutable(QStringLiteral("cat"));
    if (cat.isEmpty())
        return;
    const int flags = ::fcntl(readEnd, F_GETFL);
    if (flags >= 0)
        ::fcntl(readEnd, F_SETFL, flags & ~O_NONBLOCK);
    QByteArray shell = "/bin/sh";
    QByteArray dashC = "-c";
    // A background command's standard input would be /dev/null but for the explicit redirection.
    QByteArray script = "\"$0\" <&3 3<&- &";
    QByteArray catPath = QFile::encodeName(cat);
    char* argv[] = { shell.data(), dashC.data(), script.data(), catPath.data(), nullptr };

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (passOn) {
        posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_adddup2(&actions, readEnd, 3);
    posix_spawn_file_actions_addclosefrom_np(&actions, 4);
    posix_spawnattr_t attributes;
    initDetached(attributes);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, shell.constData(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error == 0) {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
    }
}

// The error output of one started program, read as it comes and never waited for. The end of it is
// kept (a megabyte of errors costs kErrorTailBytes); for a program in a normal window it is passed on
// to the clock's own standard error as well, and when that cannot take more for now the pipe is left
// unread until it can, so the program waits on its writes just as it would on the clock's errors.
class ErrorPipe final : public QObject
{
public:
    ErrorPipe(int readEnd, bool passOn, QObject* parent)
        : QObject(parent)
        , fd_(readEnd)
        , passOn_(passOn)
        , readable_(new QSocketNotifier(readEnd, QSocketNotifier::Read, this))
        , retry_(new QTimer(this))
    {
        connect(readable_, &QSocketNotifier::activated, this, [this] { read(kReadsPerWake); });
        retry_->setSingleShot(true);
        retry_->setInterval(50);
        connect(retry_, &QTimer::timeout, this, &ErrorPipe::passOn);
    }

    // A pipe still open when it goes, with the launcher, is handed to a drain: the program may write on.
    ~ErrorPipe() override
    {
        if (passOn_ && !pending_.isEmpty())
            writeToOwnErrors(pending_);
        if (fd_ < 0)
            return;
        delete readable_;
        handToDrain(fd_, passOn_);
        ::close(fd_);
    }

    // Reads what the program wrote before it ended, which waits in the pipe.
    void readWhatIsLeft() { read(kReadsAtEnd, true); }

    QByteArray tail() const { return tail_.right(ProcessEnding::kErrorTailBytes); }

    // Its program has ended: the pipe lives on under `keeper` while someone else (a program the
    // ended one started) still holds its write end, or while what was read waits to be passed on,
    // and goes once both are done.
    void outliveProgram(QObject* keeper)
    {
        setParent(keeper);
        outlived_ = true;
        if (fd_ < 0 && pending_.isEmpty())
            deleteLater();
    }

private:
    static constexpr int kReadsPerWake = 8;
    static constexpr int kReadsAtEnd = 32;

    void read(int mostReads, bool evenWhileHeldBack = false)
    {
        char buffer[16384];
        for (int i = 0; i < mostReads && fd_ >= 0 && (pending_.isEmpty() || evenWhileHeldBack); ++i) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got > 0) {
                keep(buffer, got);
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && errno == EAGAIN)
                break;
            closeReadEnd(); // the end of the output, or a pipe that cannot be read
        }
        passOn();
    }

    void keep(const char* bytes, qsizetype size)
    {
        constexpr qsizetype kMost = ProcessEnding::kErrorTailBytes;
        if (size >= kMost)
            tail_ = QByteArray(bytes + size - kMost, kMost);
        else
            tail_.append(bytes, size);
        // Trimmed now and then rather than on every read: at most twice the tail is ever held.
        if (tail_.size() > 2 * kMost)
            tail_.remove(0, tail_.size() - kMost);
        if (passOn_)
            pending_.append(bytes, size);
    }

    void passOn()
    {
        if (!pending_.isEmpty()) {
            const qsizetype written = writeToOwnErrors(pending_);
            if (written < 0) {
                passOn_ = false;
                pending_.clear();
            } else {
                pending_.remove(0, written);
            }
        }
        if (fd_ >= 0)
            readable_->setEnabled(pending_.isEmpty());
        if (!pending_.isEmpty())
            retry_->start();
        else if (fd_ < 0 && outlived_)
            deleteLater();
    }

    void closeReadEnd()
    {
        delete readable_;
        readable_ = nullptr;
        ::close(fd_);
        fd_ = -1;
    }

    int fd_;
    bool passOn_;
    bool outlived_ = false;
    QSocketNotifier* readable_;
    QTimer* retry_;
    QByteArray tail_;
    QByteArray pending_; // read, not yet passed on
};

QString signalName(int signal)
{
    if (const char* abbreviation = sigabbrev_np(signal))
        return QStringLiteral("SIG") + QString::fromLatin1(abbreviation);
    return QStringLiteral("signal %1").arg(signal);
}

// Waits, without blocking anything, for one started program to end, reaps it then, and tells how it
// ended.
class Reaper final : public QObject
{
public:
    Reaper(pid_t pid, ErrorPipe* errors, EndingHandler whenEnded, std::chrono::sys_seconds started,
           QObject* parent)
        : QObject(parent)
        , pid_(pid)
        , pidfd_(openPidfd(pid))
        , errors_(errors)
        , whenEnded_(std::move(whenEnded))
        , started_(started)
    {
        if (errors_)
            errors_->setParent(this);
        if (pidfd_ >= 0) {
            auto* notifier = new QSocketNotifier(pidfd_, QSocketNotifier::Read, this);
            connect(notifier, &QSocketNotifier::activated, this, &Reaper::onEnded);
            watch_ = notifier;
        } else {
            // A kernel without pidfds: look once a second instead.
            auto* timer = new QTimer(this);
            connect(timer, &QTimer::timeout, this, &Reaper::onEnded);
            timer->start(1000);
            watch_ = timer;
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
        int status = 0;
        const pid_t reaped = ::waitpid(pid_, &status, WNOHANG);
        if (reaped == 0 || (reaped < 0 && errno == EINTR))
            return;
        delete watch_;
        watch_ = nullptr;
        if (errors_)
            errors_->readWhatIsLeft();
        if (reaped == pid_ && whenEnded_) {
            ProcessEnding ending;
            if (WIFSIGNALED(status)) {
                ending.signal = WTERMSIG(status);
                ending.signalName = signalName(ending.signal);
            } else {
                ending.exitStatus = WEXITSTATUS(status);
            }
            if (errors_)
                ending.errorTail = errors_->tail();
            ending.started = started_;
            whenEnded_(ending);
        }
        if (errors_)
            errors_->outliveProgram(parent());
        deleteLater();
    }

    pid_t pid_;
    int pidfd_;
    ErrorPipe* errors_;
    EndingHandler whenEnded_;
    std::chrono::sys_seconds started_;
    QObject* watch_ = nullptr;
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
                                       WindowStyle style, EndingHandler whenEnded)
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

    // Without a pipe (no file descriptors left) the errors go where the output goes, unread.
    int errorPipe[2] = { -1, -1 };
    const bool piped = ::pipe2(errorPipe, O_CLOEXEC) == 0;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (style == WindowStyle::Hidden)
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (piped)
        posix_spawn_file_actions_adddup2(&actions, errorPipe[1], STDERR_FILENO);
    else if (style == WindowStyle::Hidden)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (QFileInfo(workingFolder).isDir())
        posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    posix_spawnattr_t attributes;
    initDetached(attributes);

    pid_t pid = 0;
    const auto started = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    const int error
        = posix_spawn(&pid, file.constData(), &actions, &attributes, argvPointers.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ErrorPipe* errors = nullptr;
    if (piped) {
        ::close(errorPipe[1]);
        if (error == 0) {
            ::fcntl(errorPipe[0], F_SETFL, ::fcntl(errorPipe[0], F_GETFL) | O_NONBLOCK);
            errors = new ErrorPipe(errorPipe[0], style == WindowStyle::Normal, nullptr);
        } else {
            ::close(errorPipe[0]);
        }
    }
    if (error != 0)
        return QStringLiteral("%1 could not be started: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(error)));
    new Reaper(pid, errors, std::move(whenEnded), started, &reapers_);
    return {};
}

} // namespace vqdbd

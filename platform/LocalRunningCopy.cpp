// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalRunningCopy.h"

#include "ProgramLog.h"
#include "SettingsFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace vqdbd {

namespace {

// What the running copy answers once it brought its clock to the front.
constexpr char kAnswer[] = "front\n";
constexpr std::size_t kAnswerLength = sizeof kAnswer - 1;

QString withReason(const QString& what, int error)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

// Empty when the path is a folder of the user's own that no one else may enter, otherwise why it
// cannot hold the lock.
QString whyNotPrivate(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::lstat(name.constData(), &info) != 0)
        return withReason(QStringLiteral("cannot look at %1").arg(path), errno);
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("%1 is not a folder").arg(path);
    if (info.st_uid != ::geteuid())
        return QStringLiteral("%1 is not yours").arg(path);
    if ((info.st_mode & 077) != 0)
        return QStringLiteral("%1 is open to others").arg(path);
    return {};
}

// Makes the folder if need be; empty when it is private (see whyNotPrivate), otherwise why not.
QString privateFolder(const QString& path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
        return withReason(QStringLiteral("cannot make %1").arg(path), errno);
    return whyNotPrivate(path);
}

// The socket's address holds a path of at most this many bytes.
constexpr std::size_t kLongestSocketPath = sizeof(sockaddr_un::sun_path) - 1;
// A place's name: the digest's first 32 hexadecimal digits.
constexpr int kPlaceNameLength = 32;

bool socketFitsIn(const QString& folder)
{
    const auto length = static_cast<std::size_t>(QFile::encodeName(folder).size());
    return length + 1 + kPlaceNameLength + std::strlen(".socket") <= kLongestSocketPath;
}

// The user's runtime folder: $XDG_RUNTIME_DIR, or else the one the login session makes,
// /run/user/<uid>, when it is the user's own and private. A copy started without the variable (from
// su, ssh or cron) thus takes the same lock as the copy the desktop started.
QString runtimeFolder()
{
    const QString runtime = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty())
        return runtime;
    const QString session = QStringLiteral("/run/user/") + QString::number(::geteuid());
    return whyNotPrivate(session).isEmpty() ? session : QString();
}

// The folder for the lock and the socket: VQ_DBD in the runtime folder when there is one and a
// socket's path there fits its address, else a private folder in the temp folder.
QString lockFolder(QString& problem)
{
    const QString runtime = runtimeFolder();
    QString folder = runtime + QStringLiteral("/VQ_DBD");
    if (runtime.isEmpty() || !QDir::isAbsolutePath(runtime) || !QFileInfo(runtime).isDir()
        || !socketFitsIn(folder))
        folder = QDir::tempPath() + QStringLiteral("/VQ_DBD-") + QString::number(::geteuid());
    problem = privateFolder(folder);
    return problem.isEmpty() ? folder : QString();
}

// The settings file's real path: the user's own links followed, as the save follows them, and the
// deepest folder that exists made canonical, so that two ways to one file give one path.
QString realPath(const QString& settingsPath)
{
    const settingsfile::Target target = settingsfile::resolve(settingsPath);
    QString path = QDir::cleanPath(
        QFileInfo(target.problem.isEmpty() ? target.path : settingsPath).absoluteFilePath());
    QString rest;
    while (!path.isEmpty() && path != QStringLiteral("/")) {
        const QFileInfo info(path);
        if (info.exists()) {
            const QString canonical = info.canonicalFilePath();
            return canonical.isEmpty() ? path + rest : canonical + rest;
        }
        rest.prepend(QLatin1Char('/') + info.fileName());
        path = info.absolutePath();
    }
    return path + rest;
}

bool fillAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray name = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(name.size()) > kLongestSocketPath)
        return false;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    return true;
}

} // namespace

LocalRunningCopy::LocalRunningCopy(const QString& settingsPath)
    : settingsPath_(settingsPath)
{ }

LocalRunningCopy::~LocalRunningCopy()
{
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        // Still under the lock: no other copy listens there yet.
        ::unlink(QFile::encodeName(place_ + QStringLiteral(".socket")).constData());
    }
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

RunningCopy::Claim LocalRunningCopy::claim()
{
    if (lockFd_ >= 0)
        return Claim::Ours;
    if (place_.isEmpty()) {
        const QString folder = lockFolder(problem_);
        if (folder.isEmpty())
            return Claim::Unavailable;
        const QByteArray digest = QCryptographicHash::hash(QFile::encodeName(realPath(settingsPath_)),
                                                           QCryptographicHash::Sha256);
        place_ = folder + QLatin1Char('/') + QString::fromLatin1(digest.toHex().left(kPlaceNameLength));
    }
    const QString lockPath = place_ + QStringLiteral(".lock");
    const int fd
        = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        problem_ = withReason(QStringLiteral("cannot open %1").arg(lockPath), errno);
        return Claim::Unavailable;
    }
    int locked;
    do
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Claim::Held;
        problem_ = withReason(QStringLiteral("cannot lock %1").arg(lockPath), error);
        return Claim::Unavailable;
    }
    lockFd_ = fd;
    listen();
    return Claim::Ours;
}

void LocalRunningCopy::listen()
{
    const QString path = place_ + QStringLiteral(".socket");
    sockaddr_un address;
    if (!fillAddress(path, address)) {
        qCWarning(platformLog, "other copies cannot reach this one: the path %s is too long for a socket",
                  qUtf8Printable(path));
        return;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        qCWarning(platformLog, "other copies cannot reach this one (socket: %s)", std::strerror(errno));
        return;
    }
    // A socket file left by a copy that crashed; no one listens there, since the lock was free.
    ::unlink(address.sun_path);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || ::listen(fd, 16) != 0) {
        qCWarning(platformLog, "other copies cannot reach this one (%s: %s)", qUtf8Printable(path),
                  std::strerror(errno));
        ::close(fd);
        return;
    }
    listenFd_ = fd;
}

void LocalRunningCopy::answerCalls(QObject& context, std::function<void()> bringToFront)
{
    if (listenFd_ < 0)
        return;
    auto* notifier = new QSocketNotifier(listenFd_, QSocketNotifier::Read, &context);
    const int listening = listenFd_;
    QObject::connect(notifier, &QSocketNotifier::activated, &context, [listening, bringToFront] {
        for (;;) {
            const int call = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (call < 0)
                return;
            bringToFront();
            [[maybe_unused]] const ssize_t sent = ::send(call, kAnswer, kAnswerLength, MSG_NOSIGNAL);
            ::close(call);
        }
    });
}

RunningCopy::Reply LocalRunningCopy::askToFront(std::chrono::milliseconds wait)
{
    sockaddr_un address;
    if (place_.isEmpty() || !fillAddress(place_ + QStringLiteral(".socket"), address))
        return Reply::NotListening;
    // Not blocking, so that a running copy whose queue of calls is full cannot hold this one up.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Reply::NotListening;
    // No socket file, or one that no one listens on: the running copy is starting, or has just ended.
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return Reply::NotListening;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    QByteArray answer;
    Reply reply = Reply::Silent;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable { fd, POLLIN, 0 };
        const int ready = left.count() > 0 ? ::poll(&readable, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[16];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0) {
            // Hung up without an answer: the running copy ended while asked, and the lock is free.
            if (answer.isEmpty())
                reply = Reply::NotListening;
            break;
        }
        answer.append(buffer, got);
        if (answer == kAnswer) {
            reply = Reply::BroughtToFront;
            break;
        }
        if (answer.size() >= static_cast<qsizetype>(kAnswerLength))
            break;
    }
    ::close(fd);
    return reply;
}

void LocalRunningCopy::pause(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

} // namespace vqdbd

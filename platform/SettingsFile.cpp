// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vqdbd::settingsfile {

namespace {

constexpr int kMostLinks = 8;

QString withReason(const QString& what, int error)
{
    return what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("not a regular file");
}

QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

} // namespace

bool Stamp::operator==(const Stamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
        && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
        && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

Target resolve(const QString& path)
{
    QString current = path;
    for (int links = 0; links <= kMostLinks; ++links) {
        const QByteArray name = QFile::encodeName(current);
        struct stat info
        {
        };
        if (::lstat(name.constData(), &info) != 0) {
            if (errno != ENOENT)
                return { {}, withReason(QStringLiteral("cannot look at %1").arg(current), errno) };
            if (links == 0)
                return { current, {} };
            struct stat folder
            {
            };
            const QString folderPath = folderOf(current);
            if (::stat(QFile::encodeName(folderPath).constData(), &folder) != 0 || !S_ISDIR(folder.st_mode))
                return { {},
                         QStringLiteral("%1 is a symbolic link into %2, which is not a folder")
                             .arg(path, folderPath) };
            if (folder.st_uid != ::geteuid())
                return { {},
                         QStringLiteral(
                             "%1 is a symbolic link into %2, a folder that is not yours; it is left alone")
                             .arg(path, folderPath) };
            return { current, {} };
        }
        if (S_ISLNK(info.st_mode)) {
            if (info.st_uid != ::geteuid())
                return {
                    {},
                    QStringLiteral("%1 is a symbolic link that is not yours; it is left alone").arg(current)
                };
            const QString target = QFile::symLinkTarget(current);
            if (target.isEmpty())
                return { {}, QStringLiteral("cannot read the symbolic link %1").arg(current) };
            current = target;
            continue;
        }
        if (!S_ISREG(info.st_mode))
            return { {},
                     QStringLiteral(
                         "%1 is %2, not a settings file; the clock uses its defaults and saves nothing there")
                         .arg(current, kindOf(info.st_mode)) };
        if (links > 0 && info.st_uid != ::geteuid())
            return { {},
                     QStringLiteral("%1 is a symbolic link to %2, a file that is not yours; it is left alone")
                         .arg(path, current) };
        return { current, {} };
    }
    return { {}, QStringLiteral("%1 leads through too many symbolic links").arg(path) };
}

Stamp stampOf(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return { true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim };
}

Content read(const QString& path)
{
    Content content;
    // Opened without blocking, so that a named pipe put in the file's place cannot stop the clock.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT)
            content.problem = withReason(QStringLiteral("cannot read %1").arg(path), errno);
        return content;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        content.problem = QStringLiteral("%1 is not a regular file").arg(path);
        ::close(fd);
        return content;
    }
    content.exists = true;
    content.stamp = { true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim };
    content.bytes.reserve(static_cast<qsizetype>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            content.bytes.append(buffer, got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            content.problem = withReason(QStringLiteral("cannot read %1").arg(path), errno);
        break;
    }
    ::close(fd);
    return content;
}

QString replace(const QString& path, const QByteArray& content, const QString& what)
{
    QByteArray temporary = QFile::encodeName(path) + ".new-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC); // made private (0600), and never an existing file
    if (fd < 0)
        return withReason(QStringLiteral("cannot create a new file beside %1").arg(path), errno);

    const auto giveUp = [&](const QString& step, bool stillOpen) {
        const int error = errno;
        if (stillOpen)
            ::close(fd);
        ::unlink(temporary.constData());
        return withReason(step.arg(path, what), error);
    };
    for (qsizetype written = 0; written < content.size();) {
        const ssize_t put
            = ::write(fd, content.constData() + written, static_cast<size_t>(content.size() - written));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return giveUp(QStringLiteral("cannot write the %2 into the folder of %1"), true);
        }
        written += put;
    }
    if (::fsync(fd) != 0)
        return giveUp(QStringLiteral("cannot flush the new %2 of %1 to disk"), true);
    if (::close(fd) != 0)
        return giveUp(QStringLiteral("cannot close the new %2 of %1"), false);
    if (::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        return giveUp(QStringLiteral("cannot put the new %2 in place of %1"), false);

    // The rename itself is durable only once the folder is flushed.
    const int folder
        = ::open(QFile::encodeName(folderOf(path)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return withReason(QStringLiteral("cannot open the folder of %1 to flush it").arg(path), errno);
    const bool flushed = ::fsync(folder) == 0;
    const int error = errno;
    ::close(folder);
    if (!flushed)
        return withReason(QStringLiteral("cannot flush the folder of %1 to disk").arg(path), error);
    return {};
}

} // namespace vqdbd::settingsfile

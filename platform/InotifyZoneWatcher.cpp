// SPDX-License-Identifier: GPL-3.0-or-later
#include "InotifyZoneWatcher.h"

#include "ProgramLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <sys/inotify.h>
#include <unistd.h>

namespace vqdbd {

namespace {

using namespace std::chrono_literals;

// What replaces a file in place, by a rename, or by removing it and making it again.
constexpr std::uint32_t kChanges
    = IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;
// A zone file is sometimes replaced in more than one step (removed, then made again; made empty,
// then written): it is read again once its folder has been quiet this long.
constexpr auto kSettleTime = 100ms;
// Files followed on the way to the zone data: the system follows at most 40 symbolic links.
constexpr qsizetype kMostFiles = 40;

// The file the C library reads the zone from, by TZ and TZDIR (null: not set) as glibc reads them;
// empty when TZ names no file (":").
QByteArray zoneFile(const char* tz, const char* tzdir)
{
    if (!tz)
        return QByteArrayLiteral("/etc/localtime");
    // TZ set but empty is UTC, read from the file "Universal"; a leading colon is dropped.
    QByteArray name = *tz == '\0' ? QByteArrayLiteral("Universal") : QByteArray(tz);
    if (name.startsWith(':'))
        name.remove(0, 1);
    if (name.isEmpty() || name.startsWith('/'))
        return name;
    const QByteArray folder = tzdir && *tzdir ? QByteArray(tzdir) : QByteArrayLiteral("/usr/share/zoneinfo");
    return folder + '/' + name;
}

// The zone file and the files its symbolic links lead to, in order.
QByteArrayList filesOnTheWay(const QByteArray& file)
{
    QByteArrayList files;
    QByteArray at = file;
    while (!at.isEmpty() && !files.contains(at) && files.size() < kMostFiles) {
        files.append(at);
        const QFileInfo info(QFile::decodeName(at));
        at = info.isSymLink() ? QFile::encodeName(info.symLinkTarget()) : QByteArray();
    }
    return files;
}

// tzset() reads the zone again only when TZ is not the same text as at its last call (with TZ
// unset, a changed /etc/localtime is read again too), and localtime_r never reads it: TZ is
// changed for a moment and put back, which reads the zone file whatever TZ is.
void reloadZone()
{
    const bool set = qEnvironmentVariableIsSet("TZ");
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", zone == "UTC0" ? QByteArrayLiteral("UTC1") : QByteArrayLiteral("UTC0"));
    tzset();
    if (set)
        qputenv("TZ", zone);
    else
        qunsetenv("TZ");
    tzset();
}

void warnOnce(bool& warned, const char* call, const QByteArray& folder, int error)
{
    if (warned)
        return;
    warned = true;
    const QByteArray where = folder.isEmpty() ? QByteArray() : QByteArray(folder + ' ');
    qCWarning(platformLog,
              "cannot watch %sfor a change of time zone (%s: %s); the clock shows a new time zone's "
              "time only once it is restarted",
              where.constData(), call, std::strerror(error));
}

} // namespace

InotifyZoneWatcher::InotifyZoneWatcher(QObject* parent)
    : ZoneWatcher(parent)
    , fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (fd_ < 0) {
        warnOnce(warned_, "inotify_init1", {}, errno);
        return;
    }
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &InotifyZoneWatcher::onReadable);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleTime);
    connect(settle_, &QTimer::timeout, this, &InotifyZoneWatcher::onSettled);
    watchZoneFiles();
}

InotifyZoneWatcher::~InotifyZoneWatcher()
{
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

void InotifyZoneWatcher::watchZoneFiles()
{
    const QByteArray tz = qgetenv("TZ");
    const QByteArray tzdir = qgetenv("TZDIR");
    const QByteArray file
        = zoneFile(qEnvironmentVariableIsSet("TZ") ? tz.constData() : nullptr, tzdir.constData());
    std::map<int, QByteArrayList> watched;
    for (const QByteArray& onTheWay : filesOnTheWay(file)) {
        const qsizetype slash = onTheWay.lastIndexOf('/');
        const QByteArray folder = slash > 0 ? onTheWay.left(slash) : QByteArray(slash == 0 ? "/" : ".");
        // A watch already on the folder comes back with the same number.
        const int watch = inotify_add_watch(fd_, folder.constData(), kChanges);
        if (watch >= 0)
            watched[watch].append(onTheWay.mid(slash + 1));
        else if (errno != ENOENT && errno != ENOTDIR) // TZ holds a rule, such as "CET-1CEST,M3.5.0,M10.5.0/3"
            warnOnce(warned_, "inotify_add_watch", folder, errno);
    }
    for (const auto& [watch, names] : watched_) {
        if (watched.find(watch) == watched.end())
            inotify_rm_watch(fd_, watch);
    }
    watched_ = std::move(watched);
}

void InotifyZoneWatcher::onReadable()
{
    alignas(inotify_event) char buffer[4096];
    bool changed = false;
    ssize_t got = 0;
    while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                changed = true; // events were lost: the zone may have changed
                continue;
            }
            const auto watch = watched_.find(event->wd);
            if (watch == watched_.end())
                continue;
            if (event->mask & IN_IGNORED)
                watched_.erase(watch); // the folder is gone
            else if (event->len > 0 && watch->second.contains(QByteArray(event->name)))
                changed = true;
        }
    }
    if (changed)
        settle_->start();
}

void InotifyZoneWatcher::onSettled()
{
    // The links may lead elsewhere now; watched again before the zone is read, so that a change
    // meanwhile is heard.
    watchZoneFiles();
    reloadZone();
    Q_EMIT zoneChanged();
}

} // namespace vqdbd

#include "TimerfdWallClock.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace vqdbd {

TimerfdWallClock::TimerfdWallClock(QObject* parent)
    : WallClock(parent)
    , fd_(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &TimerfdWallClock::onReadable);
    }
}

TimerfdWallClock::~TimerfdWallClock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

WallTime TimerfdWallClock::now() const
{
    return std::chrono::time_point_cast<std::chrono::milliseconds>(std::chrono::system_clock::now());
}

void TimerfdWallClock::wakeAt(WallTime when)
{
    const auto sinceEpoch = when.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch - seconds);
    itimerspec expiry {};
    expiry.it_value.tv_sec = static_cast<time_t>(seconds.count());
    expiry.it_value.tv_nsec = static_cast<long>(nanos.count());
    if (expiry.it_value.tv_sec == 0 && expiry.it_value.tv_nsec == 0)
        expiry.it_value.tv_nsec = 1; // an all-zero value would disarm the timer
    if (fd_ < 0 || timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &expiry, nullptr) != 0) {
        // A clock set between now() and this call cancels the arming; tell the owner to look again.
        QMetaObject::invokeMethod(this, &WallClock::clockChanged, Qt::QueuedConnection);
    }
}

void TimerfdWallClock::onReadable()
{
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(fd_, &expirations, sizeof expirations);
    if (got < 0 && errno == ECANCELED) {
        Q_EMIT clockChanged();
        return;
    }
    if (got == static_cast<ssize_t>(sizeof expirations))
        Q_EMIT wakeUp();
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimerfdWallClock.h"

#include "ProgramLog.h"

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

namespace vqdbd {

TimerfdWallClock::TimerfdWallClock(QObject* parent)
    : WallClock(parent)
    , fd_(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (fd_ < 0) {
        fallBack("timerfd_create", errno);
        return;
    }
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TimerfdWallClock::onReadable);
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
    if (fd_ >= 0) {
        const auto sinceEpoch = when.time_since_epoch();
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
        const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch - seconds);
        itimerspec expiry {};
        expiry.it_value.tv_sec = static_cast<time_t>(seconds.count());
        expiry.it_value.tv_nsec = static_cast<long>(nanos.count());
        if (expiry.it_value.tv_sec == 0 && expiry.it_value.tv_nsec == 0)
            expiry.it_value.tv_nsec = 1; // an all-zero value would disarm the timer
        if (timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &expiry, nullptr) == 0)
            return;
        if (errno == ECANCELED) {
            // A clock set between now() and this call cancels the arming; tell the owner to look again.
            QMetaObject::invokeMethod(this, &WallClock::clockChanged, Qt::QueuedConnection);
            return;
        }
        // Other failures do not pass by themselves: asking the owner to look again at once would spin.
        fallBack("timerfd_settime", errno);
    }
    // The wait runs on the monotonic clock, so a clock set meanwhile is seen at the next wake-up;
    // rounding now() down never wakes before the wall time asked for.
    fallback_->start(std::max(when - now(), WallTime::duration::zero()));
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

void TimerfdWallClock::fallBack(const char* call, int error)
{
    qCWarning(platformLog,
              "no wall-clock timer (%s: %s); the clock ticks on an ordinary timer and notices a clock set "
              "by hand only at its next second",
              call, std::strerror(error));
    delete notifier_;
    notifier_ = nullptr;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    fallback_ = new QTimer(this);
    fallback_->setSingleShot(true);
    fallback_->setTimerType(Qt::PreciseTimer);
    connect(fallback_, &QTimer::timeout, this, &WallClock::wakeUp);
}

} // namespace vqdbd

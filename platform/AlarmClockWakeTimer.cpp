// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmClockWakeTimer.h"

#include "ProgramLog.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace vqdbd {

namespace {

QString refusalText(int error)
{
    const QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    const QString reason = QString::fromLocal8Bit(std::strerror(error));
    if (error == EPERM)
        return QStringLiteral("the program may not set a wake-up timer (%1: it lacks the CAP_WAKE_ALARM "
                              "capability; grant it with: sudo setcap cap_wake_alarm+ep %2)")
            .arg(reason, program);
    return QStringLiteral("the system has no wake-up timer (%1)").arg(reason);
}

} // namespace

AlarmClockWakeTimer::AlarmClockWakeTimer()
    : fd_(timerfd_create(CLOCK_REALTIME_ALARM, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (fd_ < 0)
        problem_ = refusalText(errno);
}

AlarmClockWakeTimer::~AlarmClockWakeTimer()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void AlarmClockWakeTimer::arm(std::optional<WallTime> when)
{
    if (fd_ < 0)
        return;
    itimerspec expiry {};
    if (when) {
        const auto sinceEpoch = when->time_since_epoch();
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
        const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch - seconds);
        expiry.it_value.tv_sec = static_cast<time_t>(seconds.count());
        expiry.it_value.tv_nsec = std::max(1L, static_cast<long>(nanos.count())); // all zero disarms
    }
    // Disarmed, it is given no flags: the kernel goes on showing a cancelled alarm timer's last time
    // in /proc/<pid>/fdinfo, and its flags then tell the two apart.
    if (timerfd_settime(fd_, when ? TFD_TIMER_ABSTIME : 0, &expiry, nullptr) != 0) {
        problem_ = QStringLiteral("the wake-up timer could not be set (%1)")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd_);
        fd_ = -1;
    }
}

void keepOnlyWakeAlarmCapability()
{
    const bool root = ::geteuid() == 0;
    // Root's commands are given every capability of the bounding set when they start: not this one.
    // The program's own sets keep it.
    if (root && ::prctl(PR_CAPBSET_DROP, CAP_WAKE_ALARM, 0, 0, 0) != 0)
        qCWarning(platformLog, "could not keep CAP_WAKE_ALARM from the commands (%s)", std::strerror(errno));
    ::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0);
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct sets[_LINUX_CAPABILITY_U32S_3] {};
    if (::syscall(SYS_capget, &header, sets) != 0)
        return;
    for (std::size_t word = 0; word < _LINUX_CAPABILITY_U32S_3; ++word) {
        const std::uint32_t kept = word == CAP_TO_INDEX(CAP_WAKE_ALARM) ? CAP_TO_MASK(CAP_WAKE_ALARM) : 0;
        if (!root) {
            sets[word].permitted &= kept;
            sets[word].effective = sets[word].permitted;
        }
        sets[word].inheritable = 0;
    }
    if (::syscall(SYS_capset, &header, sets) != 0)
        qCWarning(platformLog, "could not give up the program's capabilities (%s)", std::strerror(errno));
}

} // namespace vqdbd

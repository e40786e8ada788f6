// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WallClock.h"

class QSocketNotifier;
class QTimer;

namespace vqdbd {

// Wakes at an absolute wall time through a timerfd on CLOCK_REALTIME, so the process sleeps
// between seconds and hears at once when the clock is set (TFD_TIMER_CANCEL_ON_SET). If the timerfd
// cannot be had, an ordinary precise timer aimed at the same wall time takes over.
class TimerfdWallClock final : public WallClock
{
    Q_OBJECT
public:
    explicit TimerfdWallClock(QObject* parent = nullptr);
    ~TimerfdWallClock() override;

    WallTime now() const override;
    void wakeAt(WallTime when) override;

private:
    void onReadable();
    void fallBack(const char* call, int error);

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* fallback_ = nullptr;
};

} // namespace vqdbd

#pragma once

#include "WallClock.h"

class QSocketNotifier;

namespace vqdbd {

// Wakes at an absolute wall time through a timerfd on CLOCK_REALTIME, so the process sleeps
// between seconds and hears at once when the clock is set (TFD_TIMER_CANCEL_ON_SET).
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

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/TimeText.h"

#include <QObject>
#include <QString>
#include <optional>

namespace vqdbd {

class WallClock;

// Keeps the time text current (the designed CLOCK_TIMER; no widget of its own). It wakes once at each
// wall-clock second boundary (not on a busy timer), and at once when the system clock is set, so the text is
// right within milliseconds of every change of second while the process sleeps in between.
class SecondTicker final : public QObject
{
    Q_OBJECT
public:
    SecondTicker(WallClock& clock, const TimeTextFormat& format, QObject* parent = nullptr);

    // Shows the current time at once and keeps it current from then on.
    void start();
    // Stops for good: no further text and no further secondShown.
    void stop() { running_ = false; }
    bool isRunning() const { return running_; }
    const QString& text() const { return text_; }

Q_SIGNALS:
    // The shown second changed (by time passing or by a clock change); text is the new time text.
    void secondShown(const vqdbd::WallSecond& second, const QString& text);

private:
    void tick();

    WallClock& clock_;
    const TimeTextFormat& format_;
    bool running_ = false;
    QString text_;
    std::optional<WallSecond> shown_;
};

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real clock window (real wall clock, real settings file in a scratch folder) and measures
// how long after each wall-clock second boundary the new time text is painted over SECONDS, and how
// long after the process was launched the first time text was painted. With SECONDS 0 it ends at
// the first time text and prints only the milliseconds from the launch to it.
//
// Usage: bench_display_probe SECONDS [LAUNCHED_AT_EPOCH_SECONDS]
#include "clock/ClockWindow.h"
#include "platform/AlarmClockWakeTimer.h"
#include "platform/DetachedProcessLauncher.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/IniSettingsBackend.h"
#include "platform/TimerfdWallClock.h"
#include "platform/X11WindowManager.h"
#include "state/ProgramIdentity.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"
#include "ui/NoticeWindow.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double epochSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

class PaintWatcher final : public QObject
{
public:
    PaintWatcher(vqdbd::ClockWindow& clock, QWidget& display)
        : clock_(clock)
    {
        display.installEventFilter(this);
    }

    std::vector<double> latenciesMs;
    double firstTextAt = 0;
    bool endAtFirstText = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || clock_.timeText() == lastText_)
            return false;
        const double now = epochSeconds();
        const bool first = lastText_.isNull() || lastText_ == QStringLiteral("--:--:--");
        lastText_ = clock_.timeText();
        if (lastText_ == QStringLiteral("--:--:--"))
            return false;
        if (first) {
            firstTextAt = now;
            // After this paint has been flushed to the window system.
            if (endAtFirstText)
                QTimer::singleShot(0, qApp, &QApplication::quit);
        } else {
            latenciesMs.push_back((now - static_cast<double>(static_cast<long long>(now))) * 1000.0);
        }
        return false;
    }

private:
    vqdbd::ClockWindow& clock_;
    QString lastText_;
};

} // namespace

int main(int argc, char* argv[])
{
    using namespace vqdbd;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const double launchedAt = argc > 2 ? std::atof(argv[2]) : 0;
    prepareWindowSystem();
    QApplication app(argc, argv);
    QTemporaryDir config;
    IniSettingsBackend backend(config.filePath(QStringLiteral("VQ_DBD/bench.conf")));
    SettingsStore store(backend);
    NoticeWindow notice(platformWindowManager());
    TimerfdWallClock wallClock;
    DetachedProcessLauncher launcher;
    AlarmClockWakeTimer wakeTimer;
    FreedesktopNotifier desktop(QLatin1String(identity::kAppId));
    const TimeTextFormat format;
    ClockWindow clock(
        { store, wallClock, format, platformWindowManager(), launcher, notice, desktop, wakeTimer });
    PaintWatcher watcher(clock, *clock.findChild<QWidget*>(QStringLiteral("TIME_TEXTBOX")));
    watcher.endAtFirstText = seconds == 0;
    clock.load();
    clock.show();
    if (seconds > 0)
        QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    QApplication::exec();

    if (seconds == 0) {
        if (watcher.firstTextAt == 0 || launchedAt == 0)
            return 1;
        std::printf("%.1f\n", (watcher.firstTextAt - launchedAt) * 1000.0);
        return 0;
    }

    auto& samples = watcher.latenciesMs;
    std::sort(samples.begin(), samples.end());
    if (samples.empty()) {
        std::printf("no seconds were shown\n");
        return 1;
    }
    std::printf("display latency after the second boundary over %zu seconds: median %.2f ms, max %.2f ms\n",
                samples.size(), samples[samples.size() / 2], samples.back());
    if (launchedAt > 0)
        std::printf("first time text painted %.1f ms after launch\n",
                    (watcher.firstTextAt - launchedAt) * 1000.0);
    return 0;
}

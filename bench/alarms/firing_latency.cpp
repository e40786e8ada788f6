// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real clock (real wall clock, launcher and window manager; settings in a scratch folder)
// with alarms due one after another, one each second, and measures for every firing how long after
// the wall-clock second boundary the alarm's command started (the command writes the time it
// began) and the alarm's notification window was mapped (its first expose). Each window is closed
// again shortly after, as its OK would.
//
// Usage: bench_firing_latency FIRINGS STAMP_PROGRAM
#include "alarms/AlarmEngine.h"
#include "clock/ClockWindow.h"
#include "notify/AlarmNotificationWindow.h"
#include "notify/SlotNotificationWindows.h"
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
#include <QFile>
#include <QHash>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using namespace vqdbd;

double epochSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The first expose of each watched window, by the UTC second its alarm was due.
class ExposeWatcher final : public QObject
{
public:
    void watch(QWindow* window, qint64 dueSecond)
    {
        due_.insert(window, dueSecond), window->installEventFilter(this);
    }
    QHash<qint64, double> mappedAt;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed() && due_.contains(window)) {
            mappedAt.insert(due_.take(window), epochSeconds());
            window->removeEventFilter(this);
        }
        return false;
    }

private:
    QHash<QWindow*, qint64> due_;
};

struct Figures
{
    double median = 0;
    double max = 0;
};

Figures figuresOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    if (samples.empty())
        return {};
    const std::size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return { median, samples.back() };
}

} // namespace

int main(int argc, char* argv[])
{
    const int firings = argc > 1 ? std::atoi(argv[1]) : 30;
    const QString stamp = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (firings < 1 || stamp.isEmpty()) {
        std::fprintf(stderr, "usage: bench_firing_latency FIRINGS STAMP_PROGRAM\n");
        return 2;
    }
    prepareWindowSystem();
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    IniSettingsBackend backend(scratch.filePath(QStringLiteral("VQ_DBD/bench.conf")));
    SettingsStore store(backend);
    NoticeWindow notice(platformWindowManager());
    TimerfdWallClock wallClock;
    DetachedProcessLauncher launcher;
    AlarmClockWakeTimer wakeTimer;
    FreedesktopNotifier desktop(QLatin1String(identity::kAppId));
    const TimeTextFormat format;
    ClockWindow clock(
        { store, wallClock, format, platformWindowManager(), launcher, notice, desktop, wakeTimer });
    clock.load();
    clock.show();

    const QString stamps = scratch.filePath(QStringLiteral("stamps.txt"));
    // Slot n is due at first + n - 1, then ten seconds later again, until all firings are due.
    const qint64 first = static_cast<qint64>(epochSeconds()) + 3;
    QHash<int, qint64> nextDue;
    auto arm = [&](int slot, qint64 due) {
        AlarmSlot& alarm = clock.liveState().slot(slot);
        alarm.time = format.format(wallSecondAt(due).local);
        alarm.showMessage = 1;
        alarm.runCommand = 1;
        alarm.runHidden = 1;
        alarm.command = QStringLiteral("'%1' '%2' %3").arg(stamp, stamps).arg(due);
        nextDue.insert(slot, due);
        alarm.enabled = 1;
        clock.liveState().masterSwitch = 1;
    };
    for (int slot = 1; slot <= std::min(firings, kSlotCount); ++slot)
        arm(slot, first + slot - 1);

    ExposeWatcher watcher;
    int fired = 0;
    QObject::connect(&clock.alarms(), &AlarmEngine::fired, &app, [&](int slot, const QString&) {
        const qint64 due = nextDue.value(slot);
        if (AlarmNotificationWindow* window = clock.notificationWindows().window(slot)) {
            watcher.watch(window->windowHandle(), due);
            QPointer<AlarmNotificationWindow> open(window);
            QTimer::singleShot(400, window, [open] {
                if (open)
                    open->close();
            });
        }
        if (due + kSlotCount < first + firings)
            arm(slot, due + kSlotCount);
        else
            clock.liveState().slot(slot).enabled = 0;
        if (++fired == firings)
            QTimer::singleShot(1500, &app, &QApplication::quit);
    });
    QTimer::singleShot((firings + 15) * 1000, &app, &QApplication::quit);
    QApplication::exec();

    QHash<qint64, double> startedAt;
    QFile file(stamps);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!file.atEnd()) {
            const QList<QByteArray> fields = file.readLine().trimmed().split(' ');
            if (fields.size() == 2)
                startedAt.insert(fields[0].toLongLong(), fields[1].toDouble());
        }
    }
    std::vector<double> commandMs;
    std::vector<double> windowMs;
    std::printf("firing  due (UTC s)  command start  window mapped   (ms after the second boundary)\n");
    for (int k = 0; k < firings; ++k) {
        const qint64 due = first + k;
        const double command
            = startedAt.contains(due) ? (startedAt.value(due) - static_cast<double>(due)) * 1000 : -1;
        const double window = watcher.mappedAt.contains(due)
            ? (watcher.mappedAt.value(due) - static_cast<double>(due)) * 1000
            : -1;
        if (command >= 0)
            commandMs.push_back(command);
        if (window >= 0)
            windowMs.push_back(window);
        std::printf("%6d  %11lld  %13.2f  %13.2f\n", k + 1, static_cast<long long>(due), command, window);
    }
    const Figures command = figuresOf(commandMs);
    const Figures window = figuresOf(windowMs);
    std::printf("\nfirings: %d of %d with a command start, %zu with a mapped window\n",
                static_cast<int>(commandMs.size()), firings, windowMs.size());
    std::printf("second boundary -> command process start:  median %6.2f ms, max %6.2f ms\n", command.median,
                command.max);
    std::printf("second boundary -> notification window mapped: median %6.2f ms, max %6.2f ms\n",
                window.median, window.max);
    return static_cast<int>(commandMs.size()) == firings && static_cast<int>(windowMs.size()) == firings ? 0
                                                                                                         : 1;
}

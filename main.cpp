// SPDX-License-Identifier: GPL-3.0-or-later
#include "clock/Artwork.h"
#include "clock/ClockWindow.h"
#include "platform/AlarmClockWakeTimer.h"
#include "platform/AutostartFile.h"
#include "platform/DetachedProcessLauncher.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/IniSettingsBackend.h"
#include "platform/InotifyZoneWatcher.h"
#include "platform/LocalRunningCopy.h"
#include "platform/ProgramLog.h"
#include "platform/TerminationSignals.h"
#include "platform/TimerfdWallClock.h"
#include "platform/X11WindowManager.h"
#include "state/OneClock.h"
#include "state/ProgramIdentity.h"
#include "state/ProgramOptions.h"
#include "state/Section.h"
#include "state/SettingsStore.h"
#include "state/StoreLog.h"
#include "state/TimeText.h"
#include "ui/NoticeWindow.h"
#include "ui/ScreenWatch.h"
#include "ui/StoreProblemReporter.h"
#include "ui/WindowClosing.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <chrono>
#include <cstdio>
#include <optional>

namespace {

using namespace vqdbd;
using namespace vqdbd::options;

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// The name the program was started under, which begins its lines on standard error.
QString programNameOf(const QString& argument0)
{
    return argument0.isEmpty() ? QStringLiteral("vq-dbd") : QFileInfo(argument0).fileName();
}

// Prints what switching the start at login said, on standard error when it failed.
int said(const autostart::Outcome& outcome)
{
    print(outcome.status == 0 ? stdout : stderr, outcome.said);
    return outcome.status;
}

// Answers --help, --version, --autostart and a wrong command line before any window system is
// touched, printing what it has to say; the exit status, or nothing when the clock is to run.
std::optional<int> answerWithoutDisplay(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString argument0 = arguments.value(0);
    const QString programName = programNameOf(argument0);
    const Reading reading = read(withoutQtOptions(arguments));
    int status = 0;
    switch (reading.request) {
    case Request::RunClock:
        return std::nullopt;
    case Request::Help:
        print(stdout, usageText(programName));
        break;
    case Request::Version:
        print(stdout, versionText());
        break;
    case Request::AutostartOn:
        status = said(autostart::switchOn(programName, argument0, QLatin1String(identity::kAppId)));
        break;
    case Request::AutostartOff:
        status = said(autostart::switchOff(programName, QLatin1String(identity::kAppId)));
        break;
    case Request::Invalid:
        print(stderr,
              programName + QStringLiteral(": ") + reading.error + QLatin1Char('\n')
                  + usageText(programName));
        return 2;
    }
    // What could not be printed (a full disk, a closed pipe) was not said.
    if (std::ferror(stdout) != 0 || std::fflush(stdout) != 0) {
        print(stderr, programName + QStringLiteral(": cannot write to standard output\n"));
        return 1;
    }
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace vqdbd;
    installProgramLog(argc > 0 ? argv[0] : nullptr);
    // Waking the computer for an alarm is the one thing that needs a capability; no command an alarm
    // starts inherits it.
    keepOnlyWakeAlarmCapability();
    // --help, --version, --autostart and a wrong option need no display.
    if (const std::optional<int> status = answerWithoutDisplay(argc, argv))
        return *status;
    const QString argument0 = argc > 0 ? QString::fromLocal8Bit(argv[0]) : QString();
    const QString settingsPath = IniSettingsBackend::defaultFilePath(sectionForProgram(argument0));
    // One clock per settings file, settled before any window is made or any alarm can fire: a copy
    // started again brings the running one to the front and ends.
    LocalRunningCopy copies(settingsPath);
    const oneclock::StartDecision start = oneclock::decideStart(
        copies, programNameOf(argument0), oneclock::shownPath(settingsPath, QDir::homePath()));
    if (!start.message.isEmpty())
        print(stderr, start.message + QLatin1Char('\n'));
    if (!start.runClock)
        return start.exitStatus;
    prepareWindowSystem();
    QApplication app(argc, argv);
    // Every window, the ones no other window owns included, carries the drum picture.
    QApplication::setWindowIcon(windowIcon());
    QApplication::setApplicationName(QStringLiteral("VQ_DBD"));
    QApplication::setApplicationVersion(QLatin1String(identity::kVersion));
    // Under Wayland the app id names the menu entry; under X11 the class VQ_DBD does (StartupWMClass).
    QGuiApplication::setDesktopFileName(QLatin1String(identity::kAppId));
    // The clock window's closing ends the program, even with a notice still open.
    QApplication::setQuitOnLastWindowClosed(false);
    // A screen unplugged or shrunk while the clock runs leaves no window out of reach.
    const ui::ScreenWatch screenWatch;

    IniSettingsBackend backend(settingsPath);
    SettingsStore store(backend);
    NoticeWindow notice(platformWindowManager());
    StoreProblemReporter reporter(store, notice);

    TimerfdWallClock wallClock;
    AlarmClockWakeTimer wakeTimer;
    // A new time zone moves the local time as setting the clock does: the clock reads it again at once.
    InotifyZoneWatcher zoneWatcher;
    QObject::connect(&zoneWatcher, &ZoneWatcher::zoneChanged, &wallClock, &WallClock::clockChanged);
    DetachedProcessLauncher launcher;
    FreedesktopNotifier desktopNotifier(QLatin1String(identity::kAppId));
    const TimeTextFormat timeFormat;
    ClockWindow clock({ store, wallClock, timeFormat, platformWindowManager(), launcher, notice,
                        desktopNotifier, wakeTimer });
    QObject::connect(&clock, &ClockWindow::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    notice.keepOver(clock);

    TerminationSignals termination;
    // A termination signal or the end of the desktop session closes every window the ordinary way.
    const auto closeEverything = [&clock] {
        ui::closeAllWindows(clock);
    };
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &clock, closeEverything);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &clock, closeEverything);

    // Another copy's call, once the clock is up.
    copies.answerCalls(clock, [&clock] {
        WindowManager& windows = platformWindowManager();
        windows.raise(clock.winId());
        windows.activate(clock.winId());
    });

    clock.load();
    clock.show();
    const int status = QApplication::exec();

    // A save refused during the run (a held lock, a full disk) gets one last chance, briefly.
    const QStringList unsaved = store.saveUnsaved(std::chrono::seconds(2));
    if (!unsaved.isEmpty())
        qCWarning(storeLog, "settings not saved: %s (%s)", qUtf8Printable(unsaved.join(QStringLiteral(", "))),
                  qUtf8Printable(store.lastWriteProblem()));
    return status;
}

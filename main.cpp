#include "clock/Artwork.h"
#include "clock/ClockWindow.h"
#include "platform/DetachedProcessLauncher.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/IniSettingsBackend.h"
#include "platform/ProgramLog.h"
#include "platform/TerminationSignals.h"
#include "platform/TimerfdWallClock.h"
#include "platform/WindowManager.h"
#include "state/Section.h"
#include "state/SettingsStore.h"
#include "state/StoreLog.h"
#include "state/TimeText.h"
#include "ui/NoticeWindow.h"
#include "ui/StoreProblemReporter.h"
#include "ui/WindowClosing.h"

#include <QApplication>
#include <chrono>

int main(int argc, char* argv[])
{
    using namespace vqdbd;
    installProgramLog(argc > 0 ? argv[0] : nullptr);
    prepareWindowSystem();
    QApplication app(argc, argv);
    // Every window, the ones no other window owns included, carries the drum picture.
    QApplication::setWindowIcon(windowIcon());
    QApplication::setApplicationName(QStringLiteral("VQ_DBD"));
    // The clock window's closing ends the program, even with a notice still open.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString section = sectionForProgram(argc > 0 ? QString::fromLocal8Bit(argv[0]) : QString());
    IniSettingsBackend backend(IniSettingsBackend::defaultFilePath(section));
    SettingsStore store(backend);
    NoticeWindow notice;
    StoreProblemReporter reporter(store, notice);

    TimerfdWallClock wallClock;
    DetachedProcessLauncher launcher;
    FreedesktopNotifier desktopNotifier;
    const TimeTextFormat timeFormat;
    ClockWindow clock(
        { store, wallClock, timeFormat, platformWindowManager(), launcher, notice, desktopNotifier });
    QObject::connect(&clock, &ClockWindow::closed, &app, &QApplication::quit, Qt::QueuedConnection);

    TerminationSignals termination;
    // A termination signal or the end of the desktop session closes every window the ordinary way.
    const auto closeEverything = [&clock] {
        ui::closeAllWindows(clock);
    };
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &clock, closeEverything);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &clock, closeEverything);

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

// SPDX-License-Identifier: GPL-3.0-or-later
// Soak: opens and closes 1,000 notification windows through all three routes (OK, the close box and
// the auto-close countdown) and makes 10,000 settings round trips through the real settings file,
// printing resident memory before and after each run. The aim is that memory settles within 2 MiB of
// where it started, so the clock can run for months.
//
// Usage: bench_soak [WINDOWS] [ROUND_TRIPS]
#include "notify/AlarmNotificationWindow.h"
#include "platform/DetachedProcessLauncher.h"
#include "platform/IniSettingsBackend.h"
#include "platform/X11WindowManager.h"
#include "state/LiveState.h"
#include "state/SettingKeys.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"
#include "ui/NoticeWindow.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

enum class Route
{
    Ok,
    CloseBox,
    Countdown,
};

void openAndClose(const vqdbd::WindowServices& services, QWidget& owner, int slot, Route route)
{
    using namespace vqdbd;
    services.store.saveSetting(slotKey(SlotField::AutoClose, slot),
                               route == Route::Countdown ? QStringLiteral("1") : QStringLiteral("0"));
    AlarmNotificationWindow* window = AlarmNotificationWindow::showOver(services, slot, &owner);
    switch (route) {
    case Route::Ok:
        window->findChild<QPushButton*>(QStringLiteral("OK_BUTTON"))->click();
        break;
    case Route::CloseBox:
        window->close();
        break;
    case Route::Countdown:
        for (int tick = 0; tick < 11 && window->isVisible(); ++tick) {
            auto* timer = window->findChild<QTimer*>(QStringLiteral("ALARM_MESSAGE_AUTOCLOSE_TIMER"));
            QMetaObject::invokeMethod(timer, "timeout");
        }
        break;
    }
    settle();
}

bool report(const char* what, int count, double before, double after)
{
    const double grown = after - before;
    std::printf("%-40s %6d: resident %.2f MiB before, %.2f MiB after, %+.2f MiB (%s)\n", what, count, before,
                after, grown, grown <= 2.0 ? "within 2 MiB" : "OVER 2 MiB");
    return grown <= 2.0;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace vqdbd;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int windows = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int roundTrips = argc > 2 ? std::atoi(argv[2]) : 10000;

    QTemporaryDir folder;
    IniSettingsBackend backend(folder.filePath(QStringLiteral("VQ_DBD/soak.conf")));
    SettingsStore store(backend);
    LiveState state;
    DetachedProcessLauncher launcher;
    NoticeWindow notice(platformWindowManager());
    const TimeTextFormat timeFormat;
    const WindowServices services { store, state, platformWindowManager(), timeFormat, launcher, notice };
    QWidget owner;
    owner.show();

    const Route routes[] = { Route::Ok, Route::CloseBox, Route::Countdown };
    for (int i = 0; i < 30; ++i) // warm-up: fonts, caches, the store's first file
        openAndClose(services, owner, i % kSlotCount + 1, routes[i % 3]);
    const double windowsBefore = residentMiB();
    for (int i = 0; i < windows; ++i)
        openAndClose(services, owner, i % kSlotCount + 1, routes[i % 3]);
    const bool windowsOk
        = report("notification windows opened and closed", windows, windowsBefore, residentMiB());

    const auto roundTrip = [&](int i) {
        const QString key = slotKey(kSlotFields[static_cast<std::size_t>(i % 9)].field, i % kSlotCount + 1);
        const QString text = QStringLiteral("value %1, with \"quotes\" and ü").arg(i);
        store.saveSetting(key, text);
        if (store.getSetting(key, QString()) != text)
            std::printf("round trip %d read back something else\n", i);
    };
    for (int i = 0; i < 200; ++i)
        roundTrip(i);
    const double settingsBefore = residentMiB();
    for (int i = 0; i < roundTrips; ++i)
        roundTrip(i);
    const bool settingsOk = report("settings round trips", roundTrips, settingsBefore, residentMiB());
    return windowsOk && settingsOk ? 0 : 1;
}

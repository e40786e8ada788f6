// SPDX-License-Identifier: GPL-3.0-or-later
// Renders every window of the clock into PNG files for the README: the clock, the settings window,
// the colours window, the alarm settings window with a few alarms filled in, a notification window
// in the middle of its countdown and the test notification window.
// Usage: window_pictures OUTPUT_FOLDER
#include "clock/ClockWindow.h"
#include "notify/AlarmNotificationWindow.h"
#include "notify/SlotNotificationWindows.h"
#include "notify/TestNotificationWindow.h"
#include "platform/AlarmClockWakeTimer.h"
#include "platform/DetachedProcessLauncher.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/IniSettingsBackend.h"
#include "platform/TimerfdWallClock.h"
#include "platform/X11WindowManager.h"
#include "settings_ui/AlarmSettingsWindow.h"
#include "settings_ui/ColoursWindow.h"
#include "settings_ui/SettingsWindow.h"
#include "state/ProgramIdentity.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"
#include "ui/NoticeWindow.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

bool save(QWidget& window, const QString& folder, const char* name)
{
    QTest::qWait(150);
    const QString file = folder + u'/' + QLatin1String(name) + QStringLiteral(".png");
    const bool saved = window.grab().save(file, "PNG");
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(file));
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace vqdbd;
    if (argc != 2)
        return 2;
    prepareWindowSystem();
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    QTemporaryDir config;
    IniSettingsBackend backend(config.filePath(QStringLiteral("VQ_DBD/pictures.conf")));
    SettingsStore store(backend);
    const std::pair<const char*, const char*> alarms[] = {
        { "ENABLE_ALARMS_TICKBOX", "1" },
        { "ALARM_1_TICKBOX", "1" },
        { "ALARM_1_NAME_TEXTBOX", "Wake up" },
        { "ALARM_1_TIME_TEXTBOX", "06:45:00" },
        { "ALARM_1_DISPLAY_MESSAGE_TICKBOX", "1" },
        { "ALARM_1_MESSAGE_TEXTBOX", "Good morning!" },
        { "ALARM_1_MESSAGE_AUTO_CLOSE_TICKBOX", "1" },
        { "ALARM_3_TICKBOX", "1" },
        { "ALARM_3_NAME_TEXTBOX", "Tea" },
        { "ALARM_3_TIME_TEXTBOX", "16:00:00" },
        { "ALARM_3_DISPLAY_MESSAGE_TICKBOX", "1" },
        { "ALARM_3_MESSAGE_TEXTBOX", "The tea is ready" },
        { "ALARM_3_RUN_COMMAND_TICKBOX", "1" },
        { "ALARM_3_RUN_COMMAND_TEXTBOX", "paplay /usr/share/sounds/alsa/Front_Center.wav" },
        { "RUN_HIDDEN_3_TICKBOX", "1" },
        { "ALARM_7_TICKBOX", "1" },
        { "ALARM_7_NAME_TEXTBOX", "Backup" },
        { "ALARM_7_TIME_TEXTBOX", "22:30:00" },
        { "ALARM_7_RUN_COMMAND_TICKBOX", "1" },
        { "ALARM_7_RUN_COMMAND_TEXTBOX", "sh -c 'rsync -a ~/Documents /media/backup'" },
        { "ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX", "1" },
    };
    for (const auto& [key, value] : alarms)
        store.saveSetting(QLatin1String(key), QString::fromUtf8(value));

    TimerfdWallClock wallClock;
    DetachedProcessLauncher launcher;
    AlarmClockWakeTimer wakeTimer;
    FreedesktopNotifier desktop(QLatin1String(identity::kAppId));
    NoticeWindow notice(platformWindowManager());
    const TimeTextFormat format;
    ClockWindow clock(
        { store, wallClock, format, platformWindowManager(), launcher, notice, desktop, wakeTimer });
    clock.load();
    clock.show();
    bool ok = save(clock, folder, "clock");

    const WindowServices settingsServices { store,  clock.liveState(), platformWindowManager(),
                                            format, launcher,          notice };
    QWidget* settings = SettingsWindow::showOver(settingsServices, &clock);
    ok &= save(*settings, folder, "settings");
    QWidget* colours = ColoursWindow::showOver(settingsServices, settings);
    ok &= save(*colours, folder, "colours");
    colours->close();
    QWidget* alarmSettings = AlarmSettingsWindow::showOver(settingsServices, settings);
    ok &= save(*alarmSettings, folder, "alarm-settings");
    QWidget* test = TestNotificationWindow::showOver(settingsServices, alarmSettings);
    ok &= save(*test, folder, "test-notification");
    test->close();
    alarmSettings->close();
    settings->close();

    clock.notificationWindows().openWindow(3);
    QWidget* alarm = clock.notificationWindows().window(3);
    auto* countdown = alarm->findChild<QTimer*>(QStringLiteral("ALARM_MESSAGE_AUTOCLOSE_TIMER"));
    countdown->stop(); // held still at "07" for the picture
    for (int tick = 0; tick < 4; ++tick)
        QMetaObject::invokeMethod(countdown, "timeout");
    ok &= save(*alarm, folder, "notification");
    alarm->close();
    clock.close();
    return ok ? 0 : 1;
}

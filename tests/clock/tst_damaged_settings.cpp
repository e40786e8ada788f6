// SPDX-License-Identifier: GPL-3.0-or-later
// Every one of the 158 settings keys damaged by hand in the real settings file, in each way a file
// can be damaged: every window still opens, with that key's default, the user is told once, and what
// the program writes afterwards is sound.
#include "EventLoop.h"
#include "FakeLauncher.h"
#include "FakeWakeTimer.h"
#include "FakeWallClock.h"
#include "FakeWindowManager.h"
#include "RecordingNotice.h"
#include "clock/ClockWindow.h"
#include "notify/AlarmNotificationWindow.h"
#include "notify/SlotNotificationWindows.h"
#include "notify/TestNotificationWindow.h"
#include "platform/IniSettingsBackend.h"
#include "settings_ui/AlarmSettingsWindow.h"
#include "settings_ui/ColoursWindow.h"
#include "settings_ui/SettingsWindow.h"
#include "state/Geometry.h"
#include "state/SettingKeys.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"
#include "state/ValueForms.h"
#include "ui/StoreProblemReporter.h"
#include "ui/WindowClosing.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace vqdbd;

namespace {

enum class Form
{
    Switch,
    Colour,
    Position,
    Size,
    Text,
};

struct Key
{
    QString name;
    Form form;
};

QList<Key> allKeys()
{
    QList<Key> keys;
    QList<WindowKeys> windowKeys = { windows::clock(), windows::settings(), windows::colours(),
                                     windows::alarmSettings(), windows::testNotification() };
    for (int n = 1; n <= kSlotCount; ++n)
        windowKeys.append(windows::notification(n));
    for (const WindowKeys& window : windowKeys) {
        keys.append({ window.left(), Form::Position });
        keys.append({ window.top(), Form::Position });
        keys.append({ window.width(), Form::Size });
        keys.append({ window.height(), Form::Size });
    }
    keys.append({ QStringLiteral("AlwaysOnTop_TICKBOX"), Form::Switch });
    keys.append({ QStringLiteral("CLOCK_FORECOLOR"), Form::Colour });
    keys.append({ QStringLiteral("CLOCK_BACKCOLOR"), Form::Colour });
    keys.append({ QStringLiteral("ENABLE_ALARMS_TICKBOX"), Form::Switch });
    keys.append({ QStringLiteral("MANUAL_TEXT_COLOR_TICKBOX"), Form::Switch });
    keys.append({ QStringLiteral("MANUAL_BACKGROUND_COLOR_TICKBOX"), Form::Switch });
    keys.append({ QStringLiteral("ENTER_TEXT_COLOR_TEXTBOX"), Form::Text });
    keys.append({ QStringLiteral("ENTER_BACKGROUND_COLOR_TEXTBOX"), Form::Text });
    for (const SlotFieldInfo& info : kSlotFields) {
        for (int n = 1; n <= kSlotCount; ++n)
            keys.append({ slotKey(info.field, n), info.isSwitch() ? Form::Switch : Form::Text });
    }
    return keys;
}

bool isSound(const QString& text, Form form)
{
    switch (form) {
    case Form::Switch:
        return forms::parseSwitch(text).has_value();
    case Form::Colour:
        return forms::parseColour(text).has_value();
    case Form::Position:
        return forms::parseTwips(text).has_value();
    case Form::Size:
        return forms::parseTwips(text).value_or(0) > 0;
    case Form::Text:
        return true;
    }
    return false;
}

} // namespace

class DamagedSettingsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyKeyDamagedStartsWithDefaultsAndIsToldOnce_data();
    void everyKeyDamagedStartsWithDefaultsAndIsToldOnce();
};

void DamagedSettingsTest::everyKeyDamagedStartsWithDefaultsAndIsToldOnce_data()
{
    QTest::addColumn<QByteArray>("line"); // the value as it stands in the file
    QTest::addColumn<bool>("textKeysToo"); // whether the damage reaches free-text keys as well
    QTest::newRow("letters") << QByteArray("abc") << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("overflow") << QByteArray("99999999999") << false;
    QTest::newRow("exponent") << QByteArray("1e9") << false;
    QTest::newRow("NaN") << QByteArray("NaN") << false;
    QTest::newRow("inf") << QByteArray("inf") << false;
    QTest::newRow("list") << QByteArray("a, b") << false;
    QTest::newRow("invalid") << QByteArray("@Invalid()") << true;
}

void DamagedSettingsTest::everyKeyDamagedStartsWithDefaultsAndIsToldOnce()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, textKeysToo);
    const QList<Key> keys = allKeys();
    QCOMPARE(keys.size(), 158);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VQ_DBD/vq-dbd.conf"));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\n");
        for (const Key& key : keys)
            file.write(key.name.toLatin1() + '=' + line + '\n');
    }

    IniSettingsBackend backend(path);
    SettingsStore store(backend);
    test::FakeWallClock clock(test::FakeWallClock::at(1'700'000'000, 250));
    const TimeTextFormat format("C");
    test::FakeWindowManager windowManager;
    test::FakeLauncher launcher;
    test::RecordingNotice notice;
    test::RecordingNotice desktop;
    test::FakeWakeTimer wakeTimer;
    StoreProblemReporter reporter(store, notice);
    QSignalSpy resets(&store, &SettingsStore::valueReset);

    ClockWindow clockWindow({ store, clock, format, windowManager, launcher, notice, desktop, wakeTimer });
    clockWindow.load();
    clockWindow.show();
    const WindowServices settingsServices { store, clockWindow.liveState(), windowManager, format, launcher,
                                            notice };
    QWidget* settings = SettingsWindow::showOver(settingsServices, &clockWindow);
    QWidget* colours = ColoursWindow::showOver(settingsServices, settings);
    colours->close();
    QWidget* alarmSettings = AlarmSettingsWindow::showOver(settingsServices, settings);
    QWidget* test = TestNotificationWindow::showOver(settingsServices, alarmSettings);
    QList<QWidget*> opened = { &clockWindow, settings, alarmSettings, test };
    for (int n = 1; n <= kSlotCount; ++n) {
        clockWindow.notificationWindows().openWindow(n);
        opened.append(clockWindow.notificationWindows().window(n));
    }

    // Every window opened at its default place, and the clock has its default colours and switches.
    for (QWidget* window : opened) {
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->frameGeometry().topLeft(), QPoint(67, 67));
    }
    QCOMPARE(clockWindow.size(), QSize(233, 61));
    QCOMPARE(clockWindow.liveState().textColour(), 65280);
    QCOMPARE(clockWindow.liveState().backColour(), 0);
    QCOMPARE(clockWindow.liveState().masterSwitch, 0);
    QVERIFY(clockWindow.liveState().isAlwaysOnTopCheckRunning());
    const AlarmSlot& slot = clockWindow.liveState().slot(7);
    QCOMPARE(slot.enabled, 0);
    QCOMPARE(slot.name, textKeysToo ? QStringLiteral("Alarm Name") : QString::fromUtf8(line));

    // Each damaged key was reported; the user is told once.
    QSet<QString> reported;
    for (const QList<QVariant>& reset : resets)
        reported.insert(reset.at(0).toString());
    for (const Key& key : keys) {
        if (key.form != Form::Text || textKeysToo)
            QVERIFY2(reported.contains(key.name), qPrintable(key.name));
    }
    QTRY_COMPARE(notice.texts.size(), 1);

    // What the program writes from now on is sound.
    ui::closeAllWindows(clockWindow);
    test::runPendingEvents();
    QCOMPARE(notice.texts.size(), 1);
    IniSettingsBackend reader(path);
    int rewritten = 0;
    for (const Key& key : keys) {
        const StoredValue stored = reader.read(key.name);
        if (stored.kind == StoredValue::Kind::Text && stored.text == QString::fromUtf8(line))
            continue; // never written by the program: left as it stood
        if (stored.kind == StoredValue::Kind::Unreadable)
            continue;
        ++rewritten;
        QVERIFY2(isSound(stored.text, key.form), qPrintable(key.name + u'=' + stored.text));
    }
    QVERIFY(rewritten >= 2 * 13); // Left and Top of every window that closed at least
}

QTEST_MAIN(DamagedSettingsTest)
#include "tst_damaged_settings.moc"

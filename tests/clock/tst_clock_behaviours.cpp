// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockRig.h"
#include "settings_ui/SettingsRig.h"

#include <QPushButton>

using namespace vqdbd;
using namespace vqdbd::test;

// The clock's ways into the settings window, and its keeping itself above the other windows.
class ClockBehavioursTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void userActionsOpenTheSettingsWindow_data();
    void userActionsOpenTheSettingsWindow();
    void alwaysOnTopTickDemotesTheActiveWindowThenRaisesTheClock_data();
    void alwaysOnTopTickDemotesTheActiveWindowThenRaisesTheClock();
    void settingsWindowSwitchesTheCheckAtOnce();
    void firstOpeningOfTheSettingsWindowKeepsTheCheckRunning();

private:
    static QString own(ClockWindow& clock) { return QString::number(clock.winId()); }
};

namespace {

constexpr WindowManager::WindowId kRival = 0x2a00007;
constexpr WindowManager::WindowId kPlayer = 0x2c00003;

QWidget* settingsWindow(ClockWindow& clock)
{
    return clock.findChild<QWidget*>(QStringLiteral("VQ_DBD_SETTINGS"), Qt::FindDirectChildrenOnly);
}

} // namespace

void ClockBehavioursTest::cleanup()
{
    QVERIFY2(openWindows().isEmpty(), qPrintable(openWindows().join(u' ')));
}

void ClockBehavioursTest::userActionsOpenTheSettingsWindow_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("opens");
    QTest::newRow("maker button click") << "maker click" << true;
    QTest::newRow("maker button from the keyboard") << "maker space" << true;
    QTest::newRow("double-click on the time") << "time double" << true;
    QTest::newRow("right press on the time") << "time right press" << true;
    QTest::newRow("left press on the time") << "time left press" << false;
    QTest::newRow("left click on the time") << "time left click" << false;
    QTest::newRow("middle press on the time") << "time middle press" << false;
    QTest::newRow("middle double-click on the time") << "time middle double" << false;
}

void ClockBehavioursTest::userActionsOpenTheSettingsWindow()
{
    QFETCH(QString, action);
    QFETCH(bool, opens);
    ClockRig rig;
    ClockWindow& clock = rig.start();
    auto* maker = control<QPushButton>(&clock, QStringLiteral("VELA_QUILL_BUTTON"));
    auto* time = control(&clock, QStringLiteral("TIME_TEXTBOX"));
    if (action == "maker click")
        QTest::mouseClick(maker, Qt::LeftButton);
    else if (action == "maker space")
        QTest::keyClick(maker, Qt::Key_Space);
    else if (action == "time double")
        QTest::mouseDClick(time, Qt::LeftButton);
    else if (action == "time right press")
        QTest::mousePress(time, Qt::RightButton); // the press alone, before any release
    else if (action == "time left press")
        QTest::mousePress(time, Qt::LeftButton);
    else if (action == "time left click")
        QTest::mouseClick(time, Qt::LeftButton);
    else if (action == "time middle press")
        QTest::mousePress(time, Qt::MiddleButton);
    else if (action == "time middle double")
        QTest::mouseDClick(time, Qt::MiddleButton);

    QWidget* settings = settingsWindow(clock);
    QCOMPARE(settings != nullptr, opens);
    if (settings) {
        QVERIFY(settings->isWindow());
        QVERIFY(settings->isVisible());
        QCOMPARE(settings->windowModality(), Qt::ApplicationModal);
        QCOMPARE(settings->windowTitle(), QStringLiteral("VQ - DBD - V3 - SETTINGS"));
        settings->close();
    }
    QCOMPARE(openWindows(), QStringList { QStringLiteral("VQ_DBD_MAIN") });
    clock.close();
}

void ClockBehavioursTest::alwaysOnTopTickDemotesTheActiveWindowThenRaisesTheClock_data()
{
    QTest::addColumn<QString>("stored"); // AlwaysOnTop_TICKBOX; empty: nothing stored
    QTest::addColumn<QString>("active"); // rival, clock or none
    QTest::addColumn<QString>("stacking"); // bottom to top: R, C and P, a kept-above player never active
    QTest::addColumn<QString>("calls"); // in one tick; R stands for the rival, C for the clock
    QTest::newRow("topmost rival active") << ""
                                          << "rival"
                                          << "C R"
                                          << "active? normal:R above:C";
    QTest::newRow("kept-above player over the clock is outstacked") << "1"
                                                                    << "none"
                                                                    << "C P"
                                                                    << "active? above:C raise:C";
    QTest::newRow("kept-above player over the clock, rival active") << "1"
                                                                    << "rival"
                                                                    << "R C P"
                                                                    << "active? normal:R above:C raise:C";
    QTest::newRow("clock over the player: no restacking") << "1"
                                                          << "none"
                                                          << "P C"
                                                          << "active? above:C";
    QTest::newRow("clock active over the player: nothing is called") << ""
                                                                     << "clock"
                                                                     << "C P"
                                                                     << "active?";
    QTest::newRow("clock active: nothing is called") << ""
                                                     << "clock"
                                                     << ""
                                                     << "active?";
    QTest::newRow("nothing active") << "1"
                                    << "none"
                                    << ""
                                    << "active? above:C";
    QTest::newRow("check stopped") << "0"
                                   << "rival"
                                   << "C P"
                                   << "";
}

void ClockBehavioursTest::alwaysOnTopTickDemotesTheActiveWindowThenRaisesTheClock()
{
    QFETCH(QString, stored);
    QFETCH(QString, active);
    QFETCH(QString, stacking);
    QFETCH(QString, calls);
    ClockRig rig;
    if (!stored.isEmpty())
        rig.backend.values.insert("AlwaysOnTop_TICKBOX", stored);
    ClockWindow& clock = rig.start();
    if (active != "none")
        rig.windows.active = active == "rival" ? kRival : clock.winId();
    rig.windows.keptAbove = { kRival, kPlayer }; // a rival that made itself topmost
    for (const QString& window : stacking.split(u' ', Qt::SkipEmptyParts))
        rig.windows.stacking.append(window == "R" ? kRival : window == "P" ? kPlayer : clock.winId());
    rig.windows.calls.clear();
    rig.clock.runFor(std::chrono::seconds(1));
    const bool raised = calls.contains("above:C");
    const bool demoted = calls.contains("normal:R");
    calls.replace("R", QString::number(kRival)).replace("C", own(clock));
    QCOMPARE(rig.windows.calls, calls.split(u' ', Qt::SkipEmptyParts));
    QCOMPARE(rig.windows.keptAbove.contains(kRival), !demoted);
    QCOMPARE(rig.windows.keptAbove.contains(clock.winId()), raised);
    QVERIFY(rig.windows.keptAbove.contains(kPlayer)); // never active, never demoted
    if (stored != "0" && active != "clock") // a tick that ran leaves the clock on top of its band
        QVERIFY(!rig.windows.hasKeptAboveWindowOver(clock.winId()));
    clock.close();
}

void ClockBehavioursTest::settingsWindowSwitchesTheCheckAtOnce()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    rig.clock.runFor(std::chrono::seconds(1)); // a tick puts the clock above
    QVERIFY(rig.windows.keptAbove.contains(clock.winId()));
    control<QPushButton>(&clock, QStringLiteral("VELA_QUILL_BUTTON"))->click();
    QWidget* settings = settingsWindow(clock);
    QVERIFY(settings);
    rig.windows.calls.clear();

    control<QCheckBox>(settings, QStringLiteral("AlwaysOnTop_TICKBOX"))->click();
    QVERIFY(!clock.liveState().isAlwaysOnTopCheckRunning());
    // At once an ordinary window; then no tick runs.
    QCOMPARE(rig.windows.calls, QStringList { "normal:" + own(clock) });
    QVERIFY(!rig.windows.keptAbove.contains(clock.winId()));
    rig.clock.runFor(std::chrono::seconds(2));
    QCOMPARE(rig.windows.calls, QStringList { "normal:" + own(clock) });
    rig.windows.calls.clear();

    control<QCheckBox>(settings, QStringLiteral("AlwaysOnTop_TICKBOX"))->click();
    rig.clock.runFor(std::chrono::seconds(1));
    QCOMPARE(rig.windows.calls, QStringList({ "active?", "above:" + own(clock) }));
    QCOMPARE(rig.backend.value(QStringLiteral("AlwaysOnTop_TICKBOX")), QStringLiteral("1"));
    settings->close();
    clock.close();
}

void ClockBehavioursTest::firstOpeningOfTheSettingsWindowKeepsTheCheckRunning()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    QVERIFY(clock.liveState().isAlwaysOnTopCheckRunning());
    control<QPushButton>(&clock, QStringLiteral("VELA_QUILL_BUTTON"))->click();
    QWidget* settings = settingsWindow(clock);
    QVERIFY(settings);
    QVERIFY(control<QCheckBox>(settings, QStringLiteral("AlwaysOnTop_TICKBOX"))->isChecked());
    QVERIFY(clock.liveState().isAlwaysOnTopCheckRunning());
    QVERIFY(!rig.backend.has(QStringLiteral("AlwaysOnTop_TICKBOX")));
    settings->close();
    clock.close();
}

QTEST_MAIN(ClockBehavioursTest)
#include "tst_clock_behaviours.moc"

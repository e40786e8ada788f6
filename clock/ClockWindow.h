// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Geometry.h"
#include "state/LiveState.h"

#include <QWidget>
#include <memory>

class QPushButton;

namespace vqdbd {

class AlarmEngine;
class LoggedNotice;
class ProcessLauncher;
class SecondTicker;
class TimeDisplay;
class UserNotice;
class SettingsStore;
class SlotNotificationWindows;
class TimeTextFormat;
class WakeTimer;
class WallClock;
class WindowManager;
struct WallSecond;
struct WindowServices;

// What the clock window is given to work with; tests give fakes.
struct ClockServices
{
    SettingsStore& store;
    WallClock& clock;
    const TimeTextFormat& timeFormat;
    WindowManager& windows;
    ProcessLauncher& launcher;
    UserNotice& notice;
    // The desktop's notification list.
    UserNotice& desktop;
    WakeTimer& wakeTimer;
};

// The main window: the time in large digits and the maker button. It owns the live state for the
// whole run, keeps the time current, keeps itself above other windows while that check runs and
// remembers its place when it closes.
class ClockWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit ClockWindow(const ClockServices& services, QWidget* parent = nullptr);
    ~ClockWindow() override;

    // The start-up: reads the geometry, switches, colours and alarm slots from the store into the
    // live state and starts the checks. The window is shown afterwards.
    void load();

    LiveState& liveState() { return state_; }
    SecondTicker& ticker() { return *ticker_; }
    AlarmEngine& alarms() { return *alarms_; }
    SlotNotificationWindows& notificationWindows() { return *notificationWindows_; }
    QString timeText() const;

Q_SIGNALS:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onSecondShown(const WallSecond& second, const QString& text);
    // The width the time display's text may take without scrolling.
    int timeDisplayRoom() const;
    void onAlwaysOnTopTick();
    void onAlwaysOnTopCheckChanged(bool running);
    void onMakerButtonClicked();
    void onTimeDisplayDoubleClicked();
    void onTimeDisplayMouseDown(Qt::MouseButton button);
    void onColoursChanged();
    void savePosition();
    void openSettingsWindow();
    // What the windows the clock opens work with.
    WindowServices windowServices();

    ClockServices services_;
    LiveState state_;
    // The notice that the alarms and the windows the clock opens tell the user through.
    std::unique_ptr<LoggedNotice> loggedNotice_;
    SecondTicker* ticker_;
    std::unique_ptr<SlotNotificationWindows> notificationWindows_;
    AlarmEngine* alarms_;
    TimeDisplay* timeDisplay_;
    QPushButton* makerButton_;
    bool positionSaved_ = false;
};

} // namespace vqdbd

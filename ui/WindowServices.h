// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vqdbd {

class LiveState;
class ProcessLauncher;
class SettingsStore;
class TimeTextFormat;
class UserNotice;
class WindowManager;

// What the settings and notification windows work with: the store they load and save, the clock's
// live state they read and change, the window manager that tells their frame, the clock's time text
// for the alarm times, the launcher for RUN NOW and the way to tell the user what went wrong. Tests
// give fakes.
struct WindowServices
{
    SettingsStore& store;
    LiveState& state;
    WindowManager& windows;
    const TimeTextFormat& timeFormat;
    ProcessLauncher& launcher;
    UserNotice& notice;
};

} // namespace vqdbd

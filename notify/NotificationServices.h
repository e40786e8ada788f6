// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vqdbd {

class LiveState;
class ProcessLauncher;
class SettingsStore;
class UserNotice;
class WindowManager;

// What the notification windows work with: the store they load and save, the clock's live state
// they read, the window manager that tells their frame, the launcher for RUN NOW and the way to tell
// the user that a command did not start. Tests give fakes.
struct NotificationServices
{
    SettingsStore& store;
    LiveState& state;
    WindowManager& windows;
    ProcessLauncher& launcher;
    UserNotice& notice;
};

} // namespace vqdbd

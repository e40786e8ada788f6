// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vqdbd {

class LiveState;
class ProcessLauncher;
class SettingsStore;
class TimeTextFormat;
class UserNotice;
class WindowManager;

// What the settings windows work with: the store they load and save, the clock's live state they
// change, and what the windows they open need in turn. Tests give fakes.
struct SettingsServices
{
    SettingsStore& store;
    LiveState& state;
    WindowManager& windows;
    const TimeTextFormat& timeFormat;
    ProcessLauncher& launcher;
    UserNotice& notice;
};

} // namespace vqdbd

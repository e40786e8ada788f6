// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeLauncher.h"
#include "FakeWakeTimer.h"
#include "FakeWallClock.h"
#include "FakeWindowManager.h"
#include "MemorySettingsBackend.h"
#include "RecordingNotice.h"
#include "clock/ClockWindow.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"

#include <memory>

namespace vqdbd::test {

// A clock window wired to fakes: settings in memory, time that moves when the test says, a
// window manager that records. Fill `backend.values` before start().
struct ClockRig
{
    MemorySettingsBackend backend;
    SettingsStore store { backend };
    FakeWallClock clock { FakeWallClock::at(1'700'000'000, 250) };
    TimeTextFormat timeFormat { "C" };
    FakeWindowManager windows;
    FakeLauncher launcher;
    RecordingNotice notice;
    RecordingNotice desktop;
    FakeWakeTimer wakeTimer;
    std::unique_ptr<ClockWindow> window;

    ClockRig() = default;
    // A clock showing the time as the named locale writes it.
    explicit ClockRig(const QByteArray& locale)
        : timeFormat(locale)
    { }

    ClockServices services()
    {
        return { store, clock, timeFormat, windows, launcher, notice, desktop, wakeTimer };
    }

    ClockWindow& start()
    {
        window = std::make_unique<ClockWindow>(services());
        window->load();
        window->show();
        return *window;
    }
};

// The place a clock stores when it starts at a stored Left and Top and closes unmoved, as
// "Left Top".
inline QString placeStoredByAnUnmovedRun(const QString& left, const QString& top)
{
    ClockRig rig;
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Left"), left);
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Top"), top);
    rig.start().close();
    return rig.backend.value(QStringLiteral("CLOCK-MAIN-Left")) + u' '
        + rig.backend.value(QStringLiteral("CLOCK-MAIN-Top"));
}

} // namespace vqdbd::test

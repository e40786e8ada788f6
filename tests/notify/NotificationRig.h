// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeLauncher.h"
#include "FakeWindowManager.h"
#include "MemorySettingsBackend.h"
#include "RecordingNotice.h"
#include "state/LiveState.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"
#include "ui/WindowServices.h"

#include <QMetaObject>
#include <QTimer>
#include <QWidget>

namespace vqdbd::test {

// What a notification window needs, all of it fake: the store in memory, a live state, a launcher
// that records.
struct NotificationRig
{
    MemorySettingsBackend backend;
    SettingsStore store { backend };
    LiveState state;
    FakeWindowManager windows;
    FakeLauncher launcher;
    RecordingNotice notice;
    TimeTextFormat timeFormat { "C" };

    WindowServices services() { return { store, state, windows, timeFormat, launcher, notice }; }
};

// One tick of a window's timer, as if its interval had passed; only a running timer ticks.
inline bool tick(QWidget& window, const char* timerName)
{
    auto* timer = window.findChild<QTimer*>(QString::fromLatin1(timerName));
    if (!timer || !timer->isActive())
        return false;
    return QMetaObject::invokeMethod(timer, "timeout");
}

inline bool isRunning(QWidget& window, const char* timerName)
{
    auto* timer = window.findChild<QTimer*>(QString::fromLatin1(timerName));
    return timer && timer->isActive();
}

template<typename Control> Control* control(QWidget& window, const char* name)
{
    return window.findChild<Control*>(QString::fromLatin1(name));
}

} // namespace vqdbd::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeLauncher.h"
#include "FakeWindowManager.h"
#include "MemorySettingsBackend.h"
#include "RecordingNotice.h"
#include "state/LiveState.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/Switches.h"
#include "ui/WindowServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

namespace vqdbd::test {

// The settings windows wired to fakes, with a plain window named OWNER standing in for their
// owner. Fill `backend.values` before opening a window.
struct SettingsRig
{
    MemorySettingsBackend backend;
    SettingsStore store { backend };
    LiveState state;
    FakeWindowManager windows;
    TimeTextFormat timeFormat { "C" };
    FakeLauncher launcher;
    RecordingNotice notice;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();

    // Times are shown as the named locale writes them.
    explicit SettingsRig(const QByteArray& locale = "C")
        : timeFormat(locale)
    {
        owner->setObjectName(QStringLiteral("OWNER"));
        owner->show();
    }
    WindowServices services() { return { store, state, windows, timeFormat, launcher, notice }; }
};

template<typename Control = QWidget> Control* control(const QWidget* window, const QString& name)
{
    auto* found = window->findChild<Control*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// The visible top-level windows by name, once closed windows are deleted as the event loop would.
inline QStringList openWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            names.append(widget->objectName());
    }
    names.sort();
    return names;
}

// A check box as its value and e(nabled) or d(isabled): "1e".
inline QString tickState(const QCheckBox& box)
{
    return QString::number(ui::switchValue(box)) + (box.isEnabled() ? u'e' : u'd');
}

// An entry box as "on" (enabled, unlocked, window background), "off" (disabled, locked, grey), or
// its three properties spelled out when it is neither.
inline QString textState(const QLineEdit& box)
{
    const QColor back = box.palette().color(QPalette::Base);
    const bool window = back == ui::toQColor(ui::kWindowBackground);
    const bool grey = back == ui::toQColor(ui::kLightGrey);
    if (box.isEnabled() && !box.isReadOnly() && window)
        return QStringLiteral("on");
    if (!box.isEnabled() && box.isReadOnly() && grey)
        return QStringLiteral("off");
    return QStringLiteral("%1/%2/%3")
        .arg(box.isEnabled() ? "enabled" : "disabled", box.isReadOnly() ? "locked" : "unlocked",
             window     ? "window"
                 : grey ? "grey"
                        : "other");
}

} // namespace vqdbd::test

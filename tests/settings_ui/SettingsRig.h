#pragma once

#include "FakeLauncher.h"
#include "FakeWindowManager.h"
#include "MemorySettingsBackend.h"
#include "RecordingNotice.h"
#include "settings_ui/SettingsServices.h"
#include "state/LiveState.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <memory>

namespace vqdbd::test {

// The settings windows wired to fakes, with a plain window standing in for their owner. Fill
// `backend.values` before opening a window.
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

    SettingsRig()
    {
        owner->setObjectName(QStringLiteral("OWNER"));
        owner->show();
    }

    SettingsServices services() { return { store, state, windows, timeFormat, launcher, notice }; }

    // Keys written since the last call, in order, without their values.
    QStringList takeWrittenKeys()
    {
        QStringList keys;
        for (const QString& entry : backend.writeLog)
            keys.append(entry.section(u'=', 0, 0));
        backend.writeLog.clear();
        return keys;
    }
};

template<typename Control = QWidget> Control* control(const QWidget* window, const QString& name)
{
    auto* found = window->findChild<Control*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Deletes windows closed with delete-on-close, as the event loop would.
inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The top-level windows still open, by object name.
inline QStringList openWindows()
{
    flushDeletes();
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            names.append(widget->objectName());
    }
    names.sort();
    return names;
}

} // namespace vqdbd::test

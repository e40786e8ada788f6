// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WindowManager.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <algorithm>

namespace vqdbd::test {

// Records what the program asks of the window manager; the active window and the stacking order
// are whatever a test says.
class FakeWindowManager final : public WindowManager
{
public:
    QMargins frameExtents(QWidget&) override { return frame; }
    void keepFrameCorner(QWidget&, QPoint, std::function<QPoint(const QMargins&)>) override { }
    void keepOutOfTaskbar(QWidget&) override { calls.append(QStringLiteral("skipTaskbar")); }
    std::optional<WindowId> activeWindow() override
    {
        calls.append(QStringLiteral("active?"));
        return active;
    }
    bool isKeptAbove(WindowId window) override { return keptAbove.contains(window); }
    void setKeepAbove(WindowId window, bool above) override
    {
        if (above)
            keptAbove.insert(window);
        else
            keptAbove.remove(window);
        calls.append(QStringLiteral("%1:%2")
                         .arg(above ? QStringLiteral("above") : QStringLiteral("normal"))
                         .arg(window));
    }

    // A kept-above window that lies over the given one in `stacking`.
    bool hasKeptAboveWindowOver(WindowId window) override
    {
        const qsizetype at = stacking.indexOf(window);
        return at >= 0 && std::any_of(stacking.begin() + at + 1, stacking.end(), [this](WindowId over) {
                   return keptAbove.contains(over);
               });
    }
    void raise(WindowId window) override
    {
        stacking.removeAll(window);
        stacking.append(window);
        calls.append(QStringLiteral("raise:%1").arg(window));
    }
    void stackOver(WindowId window, WindowId owner) override
    {
        calls.append(QStringLiteral("over:%1:%2").arg(window).arg(owner));
    }
    void activate(WindowId window) override
    {
        active = window;
        calls.append(QStringLiteral("activate:%1").arg(window));
    }

    QMargins frame;
    std::optional<WindowId> active;
    QStringList calls;
    QSet<WindowId> keptAbove;
    QList<WindowId> stacking; // bottom to top
};

} // namespace vqdbd::test

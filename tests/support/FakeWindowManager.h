#pragma once

#include "platform/WindowManager.h"

#include <QSet>
#include <QStringList>

namespace vqdbd::test {

// Records what the program asks of the window manager; the active window is whatever a test says.
class FakeWindowManager final : public WindowManager
{
public:
    QMargins frameExtents(QWidget&) override { return frame; }
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

    QMargins frame;
    std::optional<WindowId> active;
    QStringList calls;
    QSet<WindowId> keptAbove;
};

} // namespace vqdbd::test

#pragma once

#include "platform/WindowManager.h"

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
    void setKeepAbove(WindowId window, bool above) override
    {
        calls.append(QStringLiteral("%1:%2").arg(above ? QStringLiteral("above") : QStringLiteral("normal")).arg(window));
    }

    QMargins frame;
    std::optional<WindowId> active;
    QStringList calls;
};

} // namespace vqdbd::test

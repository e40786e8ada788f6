// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <functional>
#include <optional>

class QWidget;

namespace vqdbd {

// What the program asks of the desktop's window manager beyond what Qt offers.
class WindowManager
{
public:
    using WindowId = quintptr;
    virtual ~WindowManager() = default;

    // The frame the window manager will put around a top-level window that is not yet shown, so that
    // the window can be given its outer size before it is mapped (resizing it afterwards races the
    // window manager's placing of it).
    virtual QMargins frameExtents(QWidget& window) = 0;
    // Has a window about to be shown end up with its outer frame's top-left corner at `corner` (pixels)
    // once the window manager has framed it, whatever frame it told before. Framed with more than it
    // told, `reframed` places the window again for the frame drawn and gives the corner it goes to.
    virtual void keepFrameCorner(QWidget& window, QPoint corner,
                                 std::function<QPoint(const QMargins& drawn)> reframed)
        = 0;
    // Keeps a shown top-level window out of the taskbar and pagers.
    virtual void keepOutOfTaskbar(QWidget& window) = 0;
    // The window the user is working in, when the platform tells.
    virtual std::optional<WindowId> activeWindow() = 0;
    // Whether a window is in the band of windows kept above the others.
    virtual bool isKeptAbove(WindowId window) = 0;
    // Puts a window into, or takes it out of, that band.
    virtual void setKeepAbove(WindowId window, bool above) = 0;
    // Whether another window of that band lies over this one.
    virtual bool hasKeptAboveWindowOver(WindowId window) = 0;
    // Restacks a window over every other window of its band.
    virtual void raise(WindowId window) = 0;
    // Has the window manager stack a window with another, as it keeps a dialog with its owner: in that
    // window's band and over it, raised among the other windows kept with it. The program keeps both
    // windows of their own; a window shown again must be told again.
    virtual void stackOver(WindowId window, WindowId owner) = 0;
    // Makes a window the one the user works in, as when the user picks it (in a taskbar, say): the
    // window manager shows it if minimized, raises it and gives it the focus.
    virtual void activate(WindowId window) = 0;
};

} // namespace vqdbd

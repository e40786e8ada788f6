// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace vqdbd {

// What the environment tells of the desktop session, as far as choosing Qt's platform goes.
struct SessionEnvironment
{
    QByteArray sessionType; // XDG_SESSION_TYPE
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray x11Display; // DISPLAY
    QByteArray qtPlatform; // QT_QPA_PLATFORM: the user's own choice
};

SessionEnvironment currentSessionEnvironment();

// The Qt platform the program asks for in that session, or empty to leave the choice to Qt.
// Keeping the clock above the other windows and telling the active window need X11, which Wayland
// does not offer to programs; so in a Wayland session that also has an X server (XWayland) the
// program runs on X11, unless the user picked a platform.
QByteArray qtPlatformForSession(const SessionEnvironment& session);

} // namespace vqdbd

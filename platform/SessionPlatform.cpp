// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionPlatform.h"

#include <QtGlobal>

namespace vqdbd {

SessionEnvironment currentSessionEnvironment()
{
    return { qgetenv("XDG_SESSION_TYPE"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"),
             qgetenv("QT_QPA_PLATFORM") };
}

QByteArray qtPlatformForSession(const SessionEnvironment& session)
{
    const bool wayland = session.sessionType.compare("wayland", Qt::CaseInsensitive) == 0
        || !session.waylandDisplay.isEmpty();
    if (!wayland || session.x11Display.isEmpty() || !session.qtPlatform.isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WindowManager.h"

namespace vqdbd {

// Settles how Qt talks to the window system; called before the application object is made.
void prepareWindowSystem();

// X11 through xcb and the EWMH hints where the program runs on X11, otherwise a stand-in that does
// the least the platform allows (Qt's own stays-on-top hint) and says nothing.
WindowManager& platformWindowManager();

} // namespace vqdbd

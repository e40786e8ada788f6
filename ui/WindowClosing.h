// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;
class QWidget;

namespace vqdbd::ui {

// Ends the run from outside (a termination signal, the end of the desktop session): closes every
// other open window the ordinary way, innermost first, so each saves what its closing saves, and
// then the main window.
void closeAllWindows(QWidget& mainWindow);

// Escape closes a dialog as its close box does, saving what that closing saves. Says whether the
// key was Escape, and so taken.
bool closeOnEscape(QWidget& window, const QKeyEvent& event);

} // namespace vqdbd::ui

#pragma once

class QWidget;

namespace vqdbd::ui {

// Ends the run from outside (a termination signal, the end of the desktop session): closes every
// other open window the ordinary way, innermost first, so each saves what its closing saves, and
// then the main window.
void closeAllWindows(QWidget& mainWindow);

} // namespace vqdbd::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowClosing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace vqdbd::ui {

namespace {

bool hasOpenChildWindow(const QWidget& window, const QWidgetList& windows)
{
    for (const QWidget* other : windows) {
        if (other != &window && other->isVisible() && other->parentWidget()
            && other->parentWidget()->window() == &window)
            return true;
    }
    return false;
}

} // namespace

void closeAllWindows(QWidget& mainWindow)
{
    // A window closed before the windows it owns would take them down without their own closing.
    for (bool closedOne = true; closedOne;) {
        closedOne = false;
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            if (window != &mainWindow && window->isVisible() && !hasOpenChildWindow(*window, windows)) {
                window->close();
                closedOne = true;
                break;
            }
        }
    }
    mainWindow.close();
}

bool closeOnEscape(QWidget& window, const QKeyEvent& event)
{
    if (event.key() != Qt::Key_Escape || event.modifiers() != Qt::NoModifier)
        return false;
    window.close();
    return true;
}

} // namespace vqdbd::ui

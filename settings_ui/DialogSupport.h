// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Geometry.h"
#include "ui/Design.h"
#include "ui/WindowServices.h"

#include <QString>
#include <QWidget>
#include <Qt>
#include <optional>

class QLineEdit;

namespace vqdbd {

class SettingsStore;
class WindowManager;

namespace dialogs {

// The frame of a fixed dialog owned by another window: a caption with a close box only.
inline constexpr Qt::WindowFlags kFixedDialog
    = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// What the settings dialogs share: Escape closes the window as its close box does, and a window given
// its place's keys saves its place whenever it closes (one without them saves it on OK only).
class DialogWindow : public QWidget
{
protected:
    DialogWindow(const WindowServices& services, QWidget* owner,
                 std::optional<WindowKeys> placeSavedOnClose = std::nullopt);
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    WindowServices services_;

private:
    std::optional<WindowKeys> placeSavedOnClose_;
};

// A settings dialog of type Window, which has a load().
template<class Window> class Dialog : public DialogWindow
{
public:
    // Creates the window over its owner, loads it and shows it: the owner and the windows beneath
    // take no input while it is open (their timers keep running), and it is deleted when it closes.
    static Window* showOver(const WindowServices& services, QWidget* owner)
    {
        auto* window = new Window(services, owner);
        window->setWindowModality(Qt::ApplicationModal);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->load();
        window->show();
        return window;
    }

protected:
    using DialogWindow::DialogWindow;
};

// The two looks of an entry box: on is enabled, not locked, on the window-background colour; off
// is disabled, locked, on light grey. Each step is taken in this order.
void setEntryOn(QLineEdit& box);
void setEntryOff(QLineEdit& box);

} // namespace dialogs
} // namespace vqdbd

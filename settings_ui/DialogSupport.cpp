// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogSupport.h"

#include "platform/WindowManager.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/WindowClosing.h"
#include "ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace vqdbd::dialogs {

DialogWindow::DialogWindow(const WindowServices& services, QWidget* owner,
                           std::optional<WindowKeys> placeSavedOnClose)
    : QWidget(owner, kFixedDialog)
    , services_(services)
    , placeSavedOnClose_(std::move(placeSavedOnClose))
{ }

void DialogWindow::closeEvent(QCloseEvent* event)
{
    if (placeSavedOnClose_)
        ui::savePlace(*this, services_.store, *placeSavedOnClose_);
    event->accept();
}

void DialogWindow::keyPressEvent(QKeyEvent* event)
{
    if (!ui::closeOnEscape(*this, *event))
        QWidget::keyPressEvent(event);
}

void setEntryOn(QLineEdit& box)
{
    box.setEnabled(true);
    box.setReadOnly(false);
    ui::setBackColour(box, ui::kWindowBackground);
}

void setEntryOff(QLineEdit& box)
{
    box.setEnabled(false);
    box.setReadOnly(true);
    ui::setBackColour(box, ui::kLightGrey);
}

} // namespace vqdbd::dialogs

// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogSupport.h"

#include "platform/WindowManager.h"
#include "ui/Colours.h"
#include "ui/Design.h"

#include <QLineEdit>
#include <QWidget>

namespace vqdbd::dialogs {

void makeModal(QWidget& dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAttribute(Qt::WA_DeleteOnClose);
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

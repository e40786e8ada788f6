// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColourButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace vqdbd::ui {

ColourButton::ColourButton(QWidget* parent)
    : QPushButton(parent)
{
    // Enter presses the focused button, as Space does.
    setAutoDefault(true);
}

void ColourButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Shadow));
    // Pressed, the frame thickens inward, as a button sinks.
    const int frame = isDown() ? 2 : 1;
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(rect().adjusted(frame, frame, -frame, -frame), face);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        option.backgroundColor = face;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace vqdbd::ui

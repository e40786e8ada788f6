// SPDX-License-Identifier: GPL-3.0-or-later
#include "Colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace vqdbd::ui {

namespace {

// The system colours of the classic colour table, by index, as the current palette's roles.
QColor systemColour(quint32 index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 15: // button face
        return palette.color(QPalette::Button);
    case 0: // scroll bar
    case 12: // application workspace
    case 16: // button shadow
        return palette.color(QPalette::Mid);
    case 2: // active caption
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 3: // inactive caption
    case 10: // active border
    case 11: // inactive border
        return palette.color(QPalette::Inactive, QPalette::Window);
    case 5: // window background
        return palette.color(QPalette::Base);
    case 6: // window frame
    case 21: // 3D dark shadow
        return palette.color(QPalette::Shadow);
    case 7: // menu text
        return palette.color(QPalette::WindowText);
    case 8: // window text
        return palette.color(QPalette::Text);
    case 9: // caption text
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 19: // inactive caption text
        return palette.color(QPalette::Inactive, QPalette::WindowText);
    case 20: // 3D highlight
        return palette.color(QPalette::Light);
    case 22: // 3D light
        return palette.color(QPalette::Midlight);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    default: // desktop, menu
        return palette.color(QPalette::Window);
    }
}

} // namespace

QColor toQColor(qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    if (bits & 0x80000000u)
        return systemColour(bits & 0xFFu);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

} // namespace vqdbd::ui

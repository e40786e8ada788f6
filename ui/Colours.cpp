#include "Colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace vqdbd::ui {

namespace {

// The system colours of the classic colour table, by index, as palette roles.
QColor systemColour(quint32 index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 5: // window background
        return palette.color(QPalette::Base);
    case 8: // window text
        return palette.color(QPalette::Text);
    case 15: // button face
        return palette.color(QPalette::Button);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    default:
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

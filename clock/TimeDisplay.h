// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

namespace vqdbd {

// The clock's time: one line of read-only text, drawn where and how a frameless read-only line edit
// draws it (centred, in the widget's font and palette, on the style's text-box panel).
//
// The text is laid out once per shape: the text with its digits read as zeros, when the font's
// digits are alike (one width, no kerning against their neighbours), so every second of an hour
// and every hour of a half-day share one layout. A new second of the same shape puts the glyphs of
// the digits that changed in the place of the old ones and paints their cells at once, and only
// those pixels go to the window system; the paint engine's glyph cache holds each glyph rasterised
// once. A text of another shape, a new font, size or style lays the text out anew.
class TimeDisplay final : public QWidget
{
    Q_OBJECT
public:
    explicit TimeDisplay(QWidget* parent = nullptr);
    ~TimeDisplay() override;

    const QString& text() const { return text_; }
    // Shows the text; what it changed is painted at once, before the event loop turns.
    void setText(const QString& text);
    // The width a text takes in the display's font, as a line edit measures its text; the current
    // layout answers for a text of its shape.
    qreal textWidth(const QString& text) const;
    // Where the characters from `start` up to `end` are drawn, in the display's coordinates.
    QRect textRect(int start, int end) const;
    // The character at a point of the display, or -1.
    int characterAt(QPoint point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Layout;

    const Layout& layout() const;
    std::unique_ptr<Layout> layOut() const;
    // Whether every digit of the text can stand for another without moving any glyph.
    bool digitsAlikeIn(const QString& text) const;
    void forgetLayout();

    QString text_;
    mutable std::unique_ptr<Layout> layout_;
    // What is known of the current font's digits: alike among themselves, and beside which
    // characters they are alike.
    mutable std::optional<bool> digitsAlike_;
    mutable QHash<char16_t, bool> alikeBeside_;
};

} // namespace vqdbd

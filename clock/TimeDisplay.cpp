// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimeDisplay.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <utility>

namespace vqdbd {

namespace {

// A line edit's text line stands this far inside its contents, left and right.
constexpr int kHorizontalMargin = 2;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString withZeroDigits(QString text)
{
    for (QChar& c : text) {
        if (isDigit(c))
            c = u'0';
    }
    return text;
}

// The panel a frameless read-only line edit asks its style for.
QStyleOptionFrame panelOf(const QWidget& display)
{
    QStyleOptionFrame panel;
    panel.initFrom(&display);
    panel.rect = display.contentsRect();
    panel.lineWidth = 0;
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
    panel.features = QStyleOptionFrame::None;
    return panel;
}

// The pixels a glyph may touch, with one more on every side for its anti-aliased edge.
QRect inkOf(const QGlyphRun& run, qsizetype glyph, quint32 index, QPoint origin)
{
    const QRectF ink
        = run.rawFont().boundingRect(index).translated(run.positions().at(glyph) + QPointF(origin));
    return ink.toAlignedRect().adjusted(-1, -1, 1, 1);
}

// What a screen reader reads of the display: its name, and its text as the value and as read-only
// text, as it reads a read-only line edit.
class AccessibleTimeDisplay final : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleTimeDisplay(TimeDisplay* display)
        : QAccessibleWidget(display, QAccessible::EditableText)
    { }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return display().text();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text has no selection and no cursor to move.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    int cursorPosition() const override { return characterCount(); }
    void setCursorPosition(int) override { }
    void scrollToSubstring(int, int) override { }

    QString text(int startOffset, int endOffset) const override
    {
        return display().text().mid(startOffset, endOffset - startOffset);
    }

    int characterCount() const override { return static_cast<int>(display().text().size()); }

    QRect characterRect(int offset) const override
    {
        const QRect local = display().textRect(offset, offset + 1);
        return { display().mapToGlobal(local.topLeft()), local.size() };
    }

    int offsetAtPoint(const QPoint& point) const override
    {
        return display().characterAt(display().mapFromGlobal(point));
    }

    QString attributes(int offset, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = std::max(offset, characterCount());
        return {};
    }

private:
    const TimeDisplay& display() const { return *static_cast<const TimeDisplay*>(widget()); }
};

QAccessibleInterface* describeTimeDisplay(const QString& className, QObject* object)
{
    if (className != QLatin1String(TimeDisplay::staticMetaObject.className()))
        return nullptr;
    auto* display = qobject_cast<TimeDisplay*>(object);
    return display ? new AccessibleTimeDisplay(display) : nullptr;
}

} // namespace

struct TimeDisplay::Layout
{
    // Where a digit's glyph stands among the runs, and the glyphs of the ten digits in its font.
    struct Digit
    {
        qsizetype index = 0; // in the text
        qsizetype run = 0;
        qsizetype glyph = 0;
        std::array<quint32, 10> glyphs {};
    };

    QString shape; // the text laid out: with its digits as zeros when they are alike
    QTextLayout line;
    QList<QGlyphRun> runs; // the text's glyphs, in the text line's coordinates
    QList<Digit> digits;
    QRect contents; // what the text is clipped to
    QPoint origin; // where the text line's top-left stands in the display
};

TimeDisplay::TimeDisplay(QWidget* parent)
    : QWidget(parent)
{
    static const bool described = [] {
        QAccessible::installFactory(&describeTimeDisplay);
        return true;
    }();
    Q_UNUSED(described)
    // As a line edit: drawn on the Base colour, reached with Tab and given the focus by a click.
    setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);
}

TimeDisplay::~TimeDisplay() = default;

void TimeDisplay::setText(const QString& text)
{
    if (text == text_)
        return;
    const QString before = std::exchange(text_, text);
    QRect changed;
    if (layout_ && !layout_->digits.isEmpty() && withZeroDigits(text) == layout_->shape) {
        for (const Layout::Digit& digit : std::as_const(layout_->digits)) {
            const QChar now = text.at(digit.index);
            if (now == before.at(digit.index))
                continue;
            QGlyphRun& run = layout_->runs[digit.run];
            QList<quint32> glyphs = run.glyphIndexes();
            changed |= inkOf(run, digit.glyph, glyphs.at(digit.glyph), layout_->origin);
            glyphs[digit.glyph] = digit.glyphs.at(static_cast<std::size_t>(now.unicode() - u'0'));
            changed |= inkOf(run, digit.glyph, glyphs.at(digit.glyph), layout_->origin);
            run.setGlyphIndexes(glyphs);
        }
        changed &= layout_->contents;
    } else {
        forgetLayout();
        changed = rect();
    }
    // Painted now rather than at the event loop's next turn, so whatever else runs on this second
    // (the alarms, the window manager checks) does not hold the new second back.
    repaint(changed);
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, before, text);
        QAccessible::updateAccessibility(&event);
    }
}

qreal TimeDisplay::textWidth(const QString& text) const
{
    if (layout_ && (text == text_ || (!layout_->digits.isEmpty() && withZeroDigits(text) == layout_->shape)))
        return layout_->line.lineAt(0).naturalTextWidth();
    return QFontMetricsF(font()).horizontalAdvance(text);
}

QRect TimeDisplay::textRect(int start, int end) const
{
    const Layout& shown = layout();
    const QTextLine line = shown.line.lineAt(0);
    const qreal from = line.cursorToX(start);
    const qreal to = line.cursorToX(end);
    return QRectF(QPointF(std::min(from, to), 0), QPointF(std::max(from, to), line.height()))
        .translated(shown.origin)
        .toAlignedRect();
}

int TimeDisplay::characterAt(QPoint point) const
{
    const Layout& shown = layout();
    if (!shown.contents.contains(point) || text_.isEmpty())
        return -1;
    const int at = shown.line.lineAt(0).xToCursor(point.x() - shown.origin.x(), QTextLine::CursorOnCharacter);
    return std::clamp(at, 0, static_cast<int>(text_.size()) - 1);
}

void TimeDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QStyleOptionFrame panel = panelOf(*this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const Layout& shown = layout();
    painter.setClipRect(shown.contents);
    painter.setPen(palette().color(QPalette::Text));
    for (const QGlyphRun& run : shown.runs)
        painter.drawGlyphRun(shown.origin, run);
}

void TimeDisplay::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        digitsAlike_.reset();
        alikeBeside_.clear();
        forgetLayout();
    } else if (event->type() == QEvent::StyleChange) {
        forgetLayout();
    }
    QWidget::changeEvent(event);
}

void TimeDisplay::resizeEvent(QResizeEvent* event)
{
    forgetLayout();
    QWidget::resizeEvent(event);
}

void TimeDisplay::forgetLayout()
{
    layout_.reset();
}

const TimeDisplay::Layout& TimeDisplay::layout() const
{
    if (!layout_)
        layout_ = layOut();
    return *layout_;
}

std::unique_ptr<TimeDisplay::Layout> TimeDisplay::layOut() const
{
    auto laid = std::make_unique<Layout>();
    // The digits' glyphs are found in the layout of the zeros; should one not be, the text is laid
    // out as it is.
    for (const bool zeros : { digitsAlikeIn(text_), false }) {
        laid->shape = zeros ? withZeroDigits(text_) : text_;
        laid->line.setText(laid->shape);
        laid->line.setFont(font());
        QTextOption option;
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        laid->line.setTextOption(option);
        laid->line.beginLayout();
        const QTextLine line = laid->line.createLine();
        laid->line.endLayout();
        laid->runs = line.glyphRuns();
        laid->digits.clear();
        if (!zeros)
            break;
        bool found = true;
        for (qsizetype index = 0; index < text_.size() && found; ++index) {
            if (!isDigit(text_.at(index)))
                continue;
            found = false;
            const QList<QGlyphRun> own = line.glyphRuns(static_cast<int>(index), 1);
            if (own.size() != 1 || own.at(0).glyphIndexes().size() != 1)
                break;
            const QPointF place = own.at(0).positions().at(0);
            for (qsizetype run = 0; run < laid->runs.size() && !found; ++run) {
                const QGlyphRun& candidate = laid->runs.at(run);
                if (candidate.rawFont() != own.at(0).rawFont())
                    continue;
                const qsizetype glyph = candidate.positions().indexOf(place);
                if (glyph < 0 || candidate.glyphIndexes().at(glyph) != own.at(0).glyphIndexes().at(0))
                    continue;
                Layout::Digit digit { index, run, glyph, {} };
                const QList<quint32> glyphs
                    = candidate.rawFont().glyphIndexesForString(QStringLiteral("0123456789"));
                if (glyphs.size() != 10 || glyphs.contains(0))
                    break;
                std::copy(glyphs.begin(), glyphs.end(), digit.glyphs.begin());
                laid->digits.append(digit);
                found = true;
            }
        }
        if (!found)
            continue;
        // The zeros' glyphs become the text's own digits.
        for (const Layout::Digit& digit : std::as_const(laid->digits)) {
            QGlyphRun& run = laid->runs[digit.run];
            QList<quint32> glyphs = run.glyphIndexes();
            glyphs[digit.glyph]
                = digit.glyphs.at(static_cast<std::size_t>(text_.at(digit.index).unicode() - u'0'));
            run.setGlyphIndexes(glyphs);
        }
        break;
    }

    // Placed as a line edit places its text line: centred in the contents less the margins, and
    // with its baseline where the font's ascent puts it; a text too wide shows its end.
    const QTextLine line = laid->line.lineAt(0);
    const QStyleOptionFrame panel = panelOf(*this);
    laid->contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    const QFontMetrics metrics = fontMetrics();
    const int height = std::max(metrics.boundingRect(text_).height(), metrics.height());
    const int top = laid->contents.y() + (laid->contents.height() - height + 1) / 2;
    const int room = laid->contents.width() - 2 * kHorizontalMargin;
    const int used = qRound(line.naturalTextWidth()) + 1;
    const int scroll = used <= room ? (used - room) / 2
                                    : qRound(line.cursorToX(static_cast<int>(text_.size()))) - room + 1;
    laid->origin = QPoint(laid->contents.x() + kHorizontalMargin - scroll,
                          top - (qRound(line.ascent()) - metrics.ascent()));
    return laid;
}

bool TimeDisplay::digitsAlikeIn(const QString& text) const
{
    const QFontMetricsF metrics(font());
    const auto width = [&metrics](QChar first, QChar second) {
        const QChar pair[] = { first, second };
        return metrics.horizontalAdvance(QString(pair, 2));
    };
    if (!digitsAlike_) {
        const qreal zero = metrics.horizontalAdvance(u'0');
        bool alike = true;
        for (char16_t first = u'0'; first <= u'9' && alike; ++first) {
            alike = metrics.horizontalAdvance(first) == zero;
            for (char16_t second = u'0'; second <= u'9' && alike; ++second)
                alike = width(first, second) == 2 * zero;
        }
        digitsAlike_ = alike;
    }
    if (!*digitsAlike_)
        return false;
    for (qsizetype index = 0; index < text.size(); ++index) {
        if (!isDigit(text.at(index)))
            continue;
        for (const qsizetype beside : { index - 1, index + 1 }) {
            if (beside < 0 || beside >= text.size() || isDigit(text.at(beside)))
                continue;
            const QChar other = text.at(beside);
            if (other.isSurrogate())
                return false;
            auto known = alikeBeside_.constFind(other.unicode());
            if (known == alikeBeside_.cend()) {
                const qreal before = width(u'0', other);
                const qreal after = width(other, u'0');
                bool alike = true;
                for (char16_t digit = u'1'; digit <= u'9' && alike; ++digit)
                    alike = width(digit, other) == before && width(other, digit) == after;
                known = alikeBeside_.insert(other.unicode(), alike);
            }
            if (!*known)
                return false;
        }
    }
    return true;
}

} // namespace vqdbd

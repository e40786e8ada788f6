// SPDX-License-Identifier: GPL-3.0-or-later
#include "Design.h"

#include "AccessibleNames.h"
#include "ColourButton.h"
#include "Colours.h"
#include "FontFit.h"
#include "Twips.h"
#include "state/ValueForms.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <utility>

namespace vqdbd::ui {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;
// Where a note label keeps the font it was designed in, which every note is fitted from anew.
constexpr char kDesignedNoteFont[] = "vqdbdDesignedNoteFont";

// Keeps a text box showing its text from the start while the user is not in it. A text set from
// code puts the cursor at its end, which scrolls a long text to its tail; the cursor the user moves,
// clicks or types with is left where the user puts it.
class StartShown final : public QObject
{
public:
    explicit StartShown(QLineEdit& box)
        : QObject(&box)
        , box_(box)
    {
        box.installEventFilter(this);
        connect(&box, &QLineEdit::cursorPositionChanged, this, [this] {
            // A selection made from code is kept, for what code types next to replace.
            if (!userIn_ && !box_.hasSelectedText())
                box_.setCursorPosition(0);
        });
        box.setCursorPosition(0);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::KeyPress:
        case QEvent::InputMethod:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Drop:
            userIn_ = true;
            break;
        case QEvent::FocusOut:
            userIn_ = false;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QLineEdit& box_;
    bool userIn_ = false;
};

QWidget* makeWidget(QWidget& parent, const ControlDesign& design)
{
    switch (design.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(design.caption, &parent);
        label->setAlignment(design.alignment);
        return label;
    }
    case ControlKind::TextBox: {
        auto* box = new QLineEdit(design.caption, &parent);
        box->setAlignment(design.alignment);
        box->setReadOnly(design.locked);
        box->setFrame(true);
        new StartShown(*box);
        return box;
    }
    case ControlKind::MultiLineTextBox: {
        auto* box = new QPlainTextEdit(design.caption, &parent);
        box->setReadOnly(design.locked);
        return box;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(design.caption, &parent);
    case ControlKind::Button: {
        auto* button = new QPushButton(design.caption, &parent);
        // Enter presses the focused button, as Space does.
        button->setAutoDefault(true);
        return button;
    }
    case ControlKind::ColourButton:
        return new ColourButton(&parent);
    case ControlKind::Line: {
        auto* line = new QFrame(&parent);
        line->setFrameShape(design.width == 0 ? QFrame::VLine : QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        return line;
    }
    }
    return new QWidget(&parent);
}

void setRoleColour(QWidget& control, std::initializer_list<QPalette::ColorRole> roles, qint32 colour)
{
    QPalette palette = control.palette();
    const QColor color = toQColor(colour);
    for (const QPalette::ColorRole role : roles) {
        for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
            palette.setColor(group, role, color);
    }
    control.setPalette(palette);
}

// The part of a control its style leaves for the caption: beside a check box's indicator, inside a
// button's frame.
QSize captionRoom(const QWidget& control)
{
    QStyleOptionButton option;
    option.initFrom(&control);
    if (const auto* box = qobject_cast<const QCheckBox*>(&control)) {
        option.text = box->text();
        return control.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &control).size();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&control)) {
        option.text = button->text();
        if (button->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        return control.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &control).size();
    }
    return control.contentsRect().size();
}

bool fits(const QFont& font, const QString& text, QSize room, int flags = Qt::TextShowMnemonic)
{
    const QSize need = QFontMetrics(font).size(flags, text);
    return need.width() <= room.width() && need.height() <= room.height();
}

// The caption broken at its blanks into as few lines as the width allows, fitting or not.
QString wrapped(const QFont& font, const QString& caption, int width)
{
    const QFontMetrics metrics(font);
    QStringList lines;
    for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + u' ' + word) <= width)
            lines.last() += u' ' + word;
        else
            lines.append(word);
    }
    return lines.join(u'\n');
}

void fitCaption(QWidget& control, const ControlDesign& design)
{
    const bool captioned = design.kind == ControlKind::CheckBox || design.kind == ControlKind::Button
        || design.kind == ControlKind::Label;
    if (!captioned || design.caption.isEmpty())
        return;
    const QSize room = captionRoom(control);
    if (fits(control.font(), design.caption, room))
        return;
    const QFont font = fitFont(control.font(), kSmallestReadablePixels, [&](const QFont& candidate) {
        return fits(candidate, wrapped(candidate, design.caption, room.width()), room);
    });
    control.setFont(font);
    control.setProperty("text", wrapped(font, design.caption, room.width()));
}

// Lines that do not fit below the room are run into the last one that does, which is cut short
// with "…".
QString cutToFit(const QFont& font, const QString& text, QSize room)
{
    QStringList lines = text.split(u'\n');
    while (lines.size() > 1 && !fits(font, lines.join(u'\n'), room, 0)) {
        const QString last = lines.takeLast();
        lines.last() += u' ' + last;
    }
    lines.last() = QFontMetrics(font).elidedText(lines.last(), Qt::ElideRight, room.width());
    return lines.join(u'\n');
}

} // namespace

QFont designFont(const FontDesign& font)
{
    QFont result;
    switch (font.face) {
    case FontDesign::Face::Arial:
        result.setFamilies(
            { QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans") });
        break;
    case FontDesign::Face::ArialBlack:
        result.setFamilies({ QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"),
                             QStringLiteral("DejaVu Sans") });
        break;
    case FontDesign::Face::SansSerif:
        result.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                             QStringLiteral("Liberation Sans") });
        break;
    }
    result.setPixelSize(static_cast<int>(std::lround(font.points * kPixelsPerPoint)));
    if (font.face == FontDesign::Face::ArialBlack)
        result.setWeight(QFont::Black);
    else if (font.bold)
        result.setWeight(QFont::Bold);
    return result;
}

void setTextColour(QWidget& control, qint32 colour)
{
    setRoleColour(control, { QPalette::Text, QPalette::WindowText, QPalette::ButtonText }, colour);
}

void setBackColour(QWidget& control, qint32 colour)
{
    control.setAutoFillBackground(true);
    setRoleColour(control, { QPalette::Base, QPalette::Window, QPalette::Button }, colour);
}

QWidget* createControl(QWidget& parent, const ControlDesign& design)
{
    QWidget* control = makeWidget(parent, design);
    applyDesign(*control, design);
    return control;
}

void applyDesign(QWidget& control, const ControlDesign& design)
{
    control.setObjectName(design.name);
    control.setAccessibleName(!design.accessibleName.isEmpty()
                                  ? design.accessibleName
                                  : accessibleNameFor(design.name, design.caption,
                                                      design.kind == ControlKind::TextBox
                                                          || design.kind == ControlKind::MultiLineTextBox));
    const QRect rect = toPixels(design.left, design.top, design.width, design.height);
    control.setGeometry(rect.x(), rect.y(), std::max(1, rect.width()), std::max(1, rect.height()));
    if (design.font)
        control.setFont(designFont(*design.font));
    fitCaption(control, design);
    if (design.textColour)
        setTextColour(control, *design.textColour);
    if (design.backColour)
        setBackColour(control, *design.backColour);
    control.setEnabled(design.enabled);
    control.setVisible(design.visible);
    if (!design.visible)
        control.setAttribute(Qt::WA_WState_ExplicitShowHide);
}

void controlMissing(const QString& name, const char* kind)
{
    qFatal("the design has no control %s of kind %s", qUtf8Printable(name), kind);
}

void createControls(QWidget& parent, std::span<const ControlDesign> designs)
{
    for (const ControlDesign& design : designs)
        createControl(parent, design);
}

const ControlLook kTitleLook { .font = FontDesign { FontDesign::Face::SansSerif, 9.75, true },
                               .textColour = kGreen,
                               .backColour = kBlack,
                               .alignment = Qt::AlignCenter };

ControlDesign controlDesign(QString name, ControlKind kind, QString caption, int left, int top, int width,
                            int height, ControlLook look)
{
    return { std::move(look), std::move(name), kind, std::move(caption), left, top, width, height };
}

int switchValue(const QCheckBox& box)
{
    switch (box.checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

bool isOn(const QCheckBox& box)
{
    return forms::isOn(switchValue(box));
}

void whenValueChanges(QCheckBox& box, QObject& context, std::function<void()> rule)
{
    // Qt 6.7 names this signal checkStateChanged and deprecates the old one: this is the one place
    // to follow it.
    QObject::connect(&box, &QCheckBox::stateChanged, &context, [rule = std::move(rule)] { rule(); });
}

void setSwitchValue(QCheckBox& box, int value)
{
    if (value == 2)
        box.setTristate(true);
    box.setCheckState(forms::isOn(value) ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void showNote(QLabel& label, const QString& note)
{
    if (!label.property(kDesignedNoteFont).isValid())
        label.setProperty(kDesignedNoteFont, label.font());
    const QFont designed = label.property(kDesignedNoteFont).value<QFont>();
    const QSize room = label.contentsRect().size();
    QFont font = designed;
    QString shown = note;
    if (!fits(designed, note, room, 0)) {
        font = fitFont(designed, kSmallestReadablePixels, [&](const QFont& candidate) {
            return fits(candidate, wrapped(candidate, note, room.width()), room, 0);
        });
        shown = cutToFit(font, wrapped(font, note, room.width()), room);
    }
    label.setFont(font);
    label.setText(shown);
    label.setToolTip(note);
    label.setVisible(!note.isEmpty());
}

bool showsWhole(const QLineEdit& box, const QFont& font, const QString& text)
{
    // The panel the box asks its style for, and the text line 2 pixels inside its contents either
    // side; a text that leaves no pixel there for the cursor scrolls.
    constexpr int kTextMargin = 2;
    QStyleOptionFrame panel;
    panel.initFrom(&box);
    panel.rect = box.contentsRect();
    panel.lineWidth
        = box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &panel, &box) : 0;
    panel.midLineWidth = 0;
    panel.state |= QStyle::State_Sunken;
    if (box.isReadOnly())
        panel.state |= QStyle::State_ReadOnly;
    panel.features = QStyleOptionFrame::None;
    const QRect contents = box.style()
                               ->subElementRect(QStyle::SE_LineEditContents, &panel, &box)
                               .marginsRemoved(box.textMargins());
    const int room = contents.width() - 2 * kTextMargin;
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text))) + 1 <= room;
}

void fitTextBox(QLineEdit& box, const QStringList& texts)
{
    box.setFont(fitFont(box.font(), kSmallestReadablePixels, [&](const QFont& candidate) {
        return std::all_of(texts.begin(), texts.end(),
                           [&](const QString& text) { return showsWhole(box, candidate, text); });
    }));
}

} // namespace vqdbd::ui

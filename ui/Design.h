// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <span>

class QCheckBox;
class QObject;
class QLabel;
class QLineEdit;

namespace vqdbd::ui {

// A window's controls are written as a table of designs, close to how the program's windows were
// drawn, and built by one factory. Each control's objectName is its design name, so code and tests
// find it by the same name.
enum class ControlKind
{
    Label,
    TextBox,
    MultiLineTextBox, // a text box of several lines that scrolls
    CheckBox,
    Button,
    ColourButton, // a captionless button whose face is exactly its back colour
    Line, // a straight line from the top-left to the bottom-right corner of its rectangle
};

struct FontDesign
{
    enum class Face
    {
        Arial,
        ArialBlack,
        SansSerif,
    };
    Face face = Face::SansSerif;
    double points = 8.25;
    bool bold = false;
};

// The small sans serif the windows' controls were drawn in, in a face with Arial's narrow metrics so
// that captions fit the places they were drawn for.
inline constexpr FontDesign kControlFont { FontDesign::Face::Arial, 8.25, false };

// How a control looks and stands beside its name and place, written with designated initializers,
// for example { .textColour = kRed, .visible = false }; every member has an initializer, so that a look
// names only what differs.
struct ControlLook
{
    std::optional<FontDesign> font = kControlFont; // nullopt keeps the platform's
    std::optional<qint32> textColour {}; // colour values 0x00BBGGRR
    std::optional<qint32> backColour {};
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool locked = false; // text boxes: read-only
    bool enabled = true;
    bool visible = true;
    // What a screen reader says of a control the caption does not describe; when empty, the caption
    // or the words of the name.
    QString accessibleName {};
};

// The common look of title labels: green on black, 9.75 pt bold, centred.
extern const ControlLook kTitleLook;

struct ControlDesign : ControlLook
{
    QString name;
    ControlKind kind = ControlKind::Label;
    QString caption;
    int left = 0, top = 0, width = 0, height = 0; // twips, in the window's client area
};

// Every row of a window's design table: the control's name, kind, caption and place in twips, and
// its look, by default the small sans serif the windows were drawn in.
ControlDesign controlDesign(QString name, ControlKind kind, QString caption, int left, int top, int width,
                            int height, ControlLook look = {});

// Builds a control from its design. A caption too wide for its control is fitted as the designed
// platform drew it: a check box, button or label tall enough for more lines breaks it at its blanks,
// and what still does not fit is drawn a pixel smaller at a time. A text box shows its text from the
// start, however it was set, until the user goes into it.
QWidget* createControl(QWidget& parent, const ControlDesign& design);
void createControls(QWidget& parent, std::span<const ControlDesign> designs);
// Gives a control built by other means its design's name, place, font, colours and states; the
// caption and the kind's own settings are the control's to take.
void applyDesign(QWidget& control, const ControlDesign& design);

// A control of the kind the code expects is a promise of the design table; one broken is a fault
// of the program, which stops at once rather than run on a wrong cast.
[[noreturn]] void controlMissing(const QString& name, const char* kind);

// Builds a control that must be of kind Control.
template<typename Control> Control& createControl(QWidget& parent, const ControlDesign& design)
{
    auto* control = qobject_cast<Control*>(createControl(parent, design));
    if (control == nullptr)
        controlMissing(design.name, Control::staticMetaObject.className());
    return *control;
}

// The built control of that name, which must be of kind Control.
template<typename Control> Control& control(const QWidget& window, const QString& name)
{
    auto* found = window.findChild<Control*>(name);
    if (found == nullptr)
        controlMissing(name, Control::staticMetaObject.className());
    return *found;
}

QFont designFont(const FontDesign& font);
void setTextColour(QWidget& control, qint32 colour);
void setBackColour(QWidget& control, qint32 colour);

// Shows a note in a label, hidden while there is none. A note too long for the label is fitted as
// a caption is, broken at its blanks and made smaller from the label's own font; what still does not
// fit ends in "…", and the label's tip holds it whole.
void showNote(QLabel& label, const QString& note);

// Whether the text, in that font, is seen whole in the box rather than scrolled.
bool showsWhole(const QLineEdit& box, const QFont& font, const QString& text);
// Makes the box's font just small enough that each of the texts is seen whole in it.
void fitTextBox(QLineEdit& box, const QStringList& texts);

// A check box holds 0 (clear), 1 (ticked) or 2 (greyed).

int switchValue(const QCheckBox& box);
// Whether the box is ticked: on, as a switch of exactly 1.
bool isOn(const QCheckBox& box);
// Runs a check box's rule whenever its value changes, by a click or set from code alike, for as long
// as `context` lives.
void whenValueChanges(QCheckBox& box, QObject& context, std::function<void()> rule);
void setSwitchValue(QCheckBox& box, int value);

} // namespace vqdbd::ui

// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmSettingsWindow.h"

#include "DialogSupport.h"
#include "alarms/CommandLaunch.h"
#include "notify/TestNotificationWindow.h"
#include "state/Captions.h"
#include "state/LiveState.h"
#include "state/SettingKeys.h"
#include "state/SettingsStore.h"
#include "state/StartupState.h"
#include "state/TimeText.h"
#include "state/ValueForms.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/Switches.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowServices.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vqdbd {

using ui::ControlDesign;
using ui::ControlKind;
using ui::FontDesign;

namespace {

// Rows 1 to 5 fill the left column and rows 6 to 10 the right one, 1320 twips apart.
constexpr int kColumnShift = 6840;
constexpr int kRowPitch = 1320;

const FontDesign kRowTextFont { FontDesign::Face::SansSerif, 8.25, true };

// A row text box, in the off look it starts in: what a screen reader says of it, and where its text stands.
ui::ControlLook rowBoxLook(QString accessibleName, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    return { .font = kRowTextFont,
             .backColour = ui::kLightGrey,
             .alignment = alignment,
             .locked = true,
             .enabled = false,
             .accessibleName = std::move(accessibleName) };
}

// The controls of row 1 at their places; "%1" in a name stands for the slot number, and in the
// header labels for nothing on row 1 and "_n" on the others. So does "%1" in what a screen reader
// says of a control. A row text box starts in the off look.
std::vector<ControlDesign> firstRowDesigns()
{
    const AlarmSlot defaults = defaultSlot();
    const auto key = [](SlotField field) {
        return QString::fromLatin1(slotFieldInfo(field).keyPattern);
    };
    return {
        ui::controlDesign(QStringLiteral("ENABLE_XXX_ALARM_LABEL%1"), ControlKind::Label,
                          QStringLiteral("Enable"), 120, 600, 495, 255),
        ui::controlDesign(QStringLiteral("ALARM_XXX_NAME_LABEL%1"), ControlKind::Label,
                          QStringLiteral("Name"), 720, 600, 855, 255),
        ui::controlDesign(QStringLiteral("ALARM_XXX_TIME_LABLE%1"), ControlKind::Label,
                          QStringLiteral("Time"), 2400, 600, 495, 255),
        ui::controlDesign(key(SlotField::ShowMessage), ControlKind::CheckBox,
                          QStringLiteral("Display Message"), 3480, 600, 1575, 255, { .enabled = false }),
        ui::controlDesign(key(SlotField::AutoClose), ControlKind::CheckBox, QStringLiteral("Auto Close"),
                          5520, 600, 1095, 255),
        ui::controlDesign(key(SlotField::Enabled), ControlKind::CheckBox, QString(), 240, 840, 255, 375,
                          { .enabled = false, .accessibleName = QStringLiteral("Enable alarm %1") }),
        ui::controlDesign(key(SlotField::Name), ControlKind::TextBox, defaults.name, 720, 840, 1575, 285,
                          rowBoxLook(QStringLiteral("Name of alarm %1"))),
        ui::controlDesign(key(SlotField::Time), ControlKind::TextBox, defaults.time, 2400, 840, 975, 285,
                          rowBoxLook(QStringLiteral("Time of alarm %1"), Qt::AlignCenter)),
        ui::controlDesign(key(SlotField::Message), ControlKind::TextBox, defaults.message, 3480, 840, 3135,
                          285, rowBoxLook(QStringLiteral("Message of alarm %1"))),
        ui::controlDesign(QStringLiteral("ALARM_NUMBER_%1_TEXTBOX"), ControlKind::TextBox, QString(), 120,
                          1200, 495, 495,
                          { .font = FontDesign { FontDesign::Face::ArialBlack, 14.25, true },
                            .textColour = ui::kYellow,
                            .backColour = ui::kBlack,
                            .alignment = Qt::AlignCenter,
                            .accessibleName = QStringLiteral("Alarm %1") }),
        ui::controlDesign(key(SlotField::RunCommand), ControlKind::CheckBox, QStringLiteral("Run Command"),
                          720, 1200, 1575, 255, { .enabled = false }),
        ui::controlDesign(key(SlotField::RunHidden), ControlKind::CheckBox, QStringLiteral("Run Hidden"),
                          2400, 1200, 1215, 255, { .enabled = false }),
        ui::controlDesign(key(SlotField::Command), ControlKind::TextBox, defaults.command, 720, 1440, 5895,
                          285, rowBoxLook(QStringLiteral("Command of alarm %1"))),
        // Says beside the row, while it is typed, when a ticked row's time can never fire or its command
        // line will not run. It fills the row's free space right of Run Hidden, from below the message box
        // down to the command box and across to the column's edge, so that a long note has two lines; a
        // note of one line stands level with Run Hidden.
        ui::controlDesign(
            QStringLiteral("ALARM_%1_NOTE_LABEL"), ControlKind::Label, QString(), 3660, 1140, 3090, 300,
            { .textColour = ui::kRed, .alignment = Qt::AlignLeft | Qt::AlignBottom, .visible = false }),
    };
}

// The row's controls in the order of Tab.
constexpr std::array<SlotField, 9> kTabOrder
    = { SlotField::Enabled,     SlotField::Name,      SlotField::Time,
        SlotField::ShowMessage, SlotField::Message,   SlotField::AutoClose,
        SlotField::RunCommand,  SlotField::RunHidden, SlotField::Command };

// OK saves each row's other fields row by row, and then these field by field.
constexpr bool savedAfterRows(SlotField field)
{
    return field == SlotField::ShowMessage || field == SlotField::AutoClose || field == SlotField::RunHidden;
}

// The designs of slot n's row: the first row's, named for n and moved to its place.
std::vector<ControlDesign> rowDesigns(int n)
{
    const int dx = n > 5 ? kColumnShift : 0;
    const int dy = kRowPitch * ((n - 1) % 5);
    const QString headerSuffix = n == 1 ? QString() : QStringLiteral("_%1").arg(n);
    std::vector<ControlDesign> designs = firstRowDesigns();
    for (ControlDesign& design : designs) {
        design.name = design.kind == ControlKind::Label && design.name.contains(QStringLiteral("XXX"))
            ? design.name.arg(headerSuffix)
            : design.name.arg(n);
        if (!design.accessibleName.isEmpty())
            design.accessibleName = design.accessibleName.arg(n);
        design.left += dx;
        design.top += dy;
    }
    return designs;
}

// The window as designed, in the order of building.
std::vector<ControlDesign> alarmSettingsDesign()
{
    std::vector<ControlDesign> design {
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_1"), ControlKind::Label, QStringLiteral("VELA-QUILL"),
                          120, 120, 2175, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_2"), ControlKind::Label,
                          QStringLiteral("DRUM-BEAT-DIAL"), 2400, 120, 2775, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("VQ_DRUM_BEAT_DIAL_TITLE_2"), ControlKind::Label,
                          captions::shortName(), 8040, 120, 2295, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("ALARM_SETTINGS_LABEL"), ControlKind::Label,
                          QStringLiteral("ALARM SETTINGS"), 10440, 120, 3015, 315, ui::kTitleLook),
    };
    int lineNumber = 0;
    for (const int y : { 480, 1800, 3120, 4440, 5760, 7080 })
        design.push_back(ui::controlDesign(QStringLiteral("Line%1").arg(++lineNumber), ControlKind::Line,
                                           QString(), 120, y, 13320, 0));
    design.push_back(ui::controlDesign(QStringLiteral("Line%1").arg(++lineNumber), ControlKind::Line,
                                       QString(), kColumnShift, 480, 0, 6600));
    design.push_back(ui::controlDesign(QStringLiteral("OK_BUTTON"), ControlKind::Button, QStringLiteral("OK"),
                                       9120, 7320, 2655, 495));
    design.push_back(ui::controlDesign(settings::kEnableAlarms.name(), ControlKind::CheckBox,
                                       QStringLiteral("Enable Alarms"), 5520, 120, 2415, 255,
                                       { .font = FontDesign { FontDesign::Face::ArialBlack, 11.25, true } }));
    for (int n = 1; n <= kSlotCount; ++n) {
        const std::vector<ControlDesign> row = rowDesigns(n);
        design.insert(design.end(), row.begin(), row.end());
    }
    design.push_back(ui::controlDesign(QStringLiteral("TEST_ALARM_WINDOW_BUTTON"), ControlKind::Button,
                                       QStringLiteral("Test Alarm Notification Window"), 2160, 7320, 3015,
                                       495));
    return design;
}

} // namespace

AlarmSettingsWindow::AlarmSettingsWindow(const WindowServices& services, QWidget* owner)
    : Dialog(services, owner, windows::alarmSettings())
    , firingTimes_(services.timeFormat)
{
    setObjectName(QStringLiteral("VQ_DBD_ALARM_SETTINGS"));
    setWindowTitle(captions::alarmSettings());

    ui::createControls(*this, alarmSettingsDesign());
    okButton_ = &ui::control<QPushButton>(*this, QStringLiteral("OK_BUTTON"));
    enableAlarms_ = &ui::control<QCheckBox>(*this, settings::kEnableAlarms.name());
    setTabOrder(okButton_, enableAlarms_);

    QWidget* previous = enableAlarms_;
    for (int n = 1; n <= kSlotCount; ++n) {
        Row& row = rows_.at(static_cast<std::size_t>(n - 1));
        row.slot = n;
        takeRow(row);
        for (const SlotField field : kTabOrder) {
            setTabOrder(previous, &row.control(field));
            previous = &row.control(field);
        }
    }
    auto* testButton = &ui::control<QPushButton>(*this, QStringLiteral("TEST_ALARM_WINDOW_BUTTON"));
    setTabOrder(previous, testButton);
    okButton_->setFocus();

    connect(okButton_, &QPushButton::clicked, this, &AlarmSettingsWindow::onOkClicked);
    connect(testButton, &QPushButton::clicked, this, &AlarmSettingsWindow::onTestAlarmWindowButtonClicked);
    ui::whenValueChanges(*enableAlarms_, *this, [this] { onEnableAlarmsTickboxChanged(); });
}

void AlarmSettingsWindow::takeRow(Row& row)
{
    const int n = row.slot;
    // Each control is found as its kind once here, so that tickbox() and textbox() need not check it.
    for (const SlotFieldInfo& info : kSlotFields) {
        const QString name = slotKey(info.field, n);
        QWidget*& control = row.controls.at(static_cast<std::size_t>(info.field));
        if (info.isSwitch())
            control = &ui::control<QCheckBox>(*this, name);
        else
            control = &ui::control<QLineEdit>(*this, name);
    }
    row.note = &ui::control<QLabel>(*this, QStringLiteral("ALARM_%1_NOTE_LABEL").arg(n));
    ui::control<QLineEdit>(*this, QStringLiteral("ALARM_NUMBER_%1_TEXTBOX").arg(n))
        .setText(LiveState::slotNumberText(n));
    // Room for the clock's own text in a 12-hour locale ("07:30:00 PM"), which fires there too, and a
    // font in which every hour's text is seen whole, as on the clock.
    QLineEdit& time = row.textbox(SlotField::Time);
    time.setMaxLength(services_.timeFormat.longestText());
    QStringList shown = services_.timeFormat.hourSamples();
    shown.append(time.text());
    ui::fitTextBox(time, shown);

    ui::whenValueChanges(row.tickbox(SlotField::Enabled), *this,
                         [this, &row] { onAlarmTickboxChanged(row); });
    ui::whenValueChanges(row.tickbox(SlotField::ShowMessage), *this,
                         [this, &row] { onDisplayMessageTickboxChanged(row); });
    ui::whenValueChanges(row.tickbox(SlotField::RunCommand), *this,
                         [this, &row] { onRunCommandTickboxChanged(row); });
    connect(&time, &QLineEdit::textChanged, this, [this, &row] { onTimeTextboxChanged(row); });
    connect(&row.textbox(SlotField::Command), &QLineEdit::textChanged, this,
            [this, &row] { onRunCommandTextboxChanged(row); });
}

QWidget& AlarmSettingsWindow::Row::control(SlotField field) const
{
    return *controls.at(static_cast<std::size_t>(field));
}

QCheckBox& AlarmSettingsWindow::Row::tickbox(SlotField field) const
{
    return static_cast<QCheckBox&>(control(field));
}

QLineEdit& AlarmSettingsWindow::Row::textbox(SlotField field) const
{
    return static_cast<QLineEdit&>(control(field));
}

AlarmSlot AlarmSettingsWindow::Row::shown() const
{
    AlarmSlot values;
    for (const SlotFieldInfo& info : kSlotFields) {
        if (info.isSwitch())
            values.*info.switchMember = ui::switchValue(tickbox(info.field));
        else
            values.*info.textMember = textbox(info.field).text();
    }
    return values;
}

void AlarmSettingsWindow::Row::show(const AlarmSlot& values, const SlotFieldInfo& info) const
{
    if (info.isSwitch())
        ui::setSwitchValue(tickbox(info.field), values.*info.switchMember);
    else
        textbox(info.field).setText(values.*info.textMember);
}

void AlarmSettingsWindow::load()
{
    SettingsStore& store = services_.store;
    ui::placeFromStore(*this, store, windows::alarmSettings(), services_.windows);
    ui::setSwitchValue(
        *enableAlarms_,
        store.readSwitch(settings::kEnableAlarms.name(), settings::kEnableAlarms.defaultValue));

    for (const SlotFieldInfo& info : kSlotFields) {
        for (const Row& row : rows_) {
            AlarmSlot stored;
            readSlotField(store, row.slot, info, stored);
            row.show(stored, info);
        }
    }
    if (!ui::isOn(*enableAlarms_))
        greyRows();
    loaded_ = true;
}

void AlarmSettingsWindow::onEnableAlarmsTickboxChanged()
{
    const int master = ui::switchValue(*enableAlarms_);
    if (forms::isOn(master)) {
        ungreyRows();
        for (const Row& row : rows_) {
            row.tickbox(SlotField::Enabled).setEnabled(true);
            row.tickbox(SlotField::RunHidden).setEnabled(true);
        }
    } else {
        greyRows();
    }
    services_.store.saveSwitch(settings::kEnableAlarms.name(), master);
    // Opening the window shows the switch as it stands: only a change made in it switches the alarms,
    // at once and even if the window is then closed without OK. No alarm fires while it is off, and
    // ticked again, the slots fire as they are, since clearing it changed none of them.
    if (loaded_)
        services_.state.masterSwitch = master;
}

void AlarmSettingsWindow::greyRows()
{
    for (const Row& row : rows_) {
        for (const SlotField field : kTabOrder) {
            QWidget* control = &row.control(field);
            if (control->isEnabledTo(this)) {
                greyedControls_.push_back(control);
                control->setEnabled(false);
            }
        }
    }
}

void AlarmSettingsWindow::ungreyRows()
{
    for (QWidget* control : greyedControls_)
        control->setEnabled(true);
    greyedControls_.clear();
}

void AlarmSettingsWindow::onAlarmTickboxChanged(Row& row)
{
    const bool on = ui::isOn(row.tickbox(SlotField::Enabled));
    for (const SlotField field :
         { SlotField::Name, SlotField::Time, SlotField::ShowMessage, SlotField::RunCommand })
        row.control(field).setEnabled(on);
    for (const SlotField field : { SlotField::Name, SlotField::Time })
        row.textbox(field).setReadOnly(!on);
    for (const SlotField field : { SlotField::Name, SlotField::Time })
        ui::setBackColour(row.textbox(field), on ? ui::kWindowBackground : ui::kLightGrey);
    // Enabled even while Run Command is clear; a cleared row clears its switches.
    row.tickbox(SlotField::RunHidden).setEnabled(on);
    if (!on) {
        ui::setSwitchValue(row.tickbox(SlotField::RunHidden), 0);
        ui::setSwitchValue(row.tickbox(SlotField::RunCommand), 0);
    }
    row.tickbox(SlotField::AutoClose).setEnabled(on);
    if (!on) {
        ui::setSwitchValue(row.tickbox(SlotField::AutoClose), 0);
        ui::setSwitchValue(row.tickbox(SlotField::ShowMessage), 0);
    }
    showRowNote(row);
}

void AlarmSettingsWindow::onDisplayMessageTickboxChanged(Row& row)
{
    if (ui::isOn(row.tickbox(SlotField::ShowMessage)))
        dialogs::setEntryOn(row.textbox(SlotField::Message));
    else
        dialogs::setEntryOff(row.textbox(SlotField::Message));
}

void AlarmSettingsWindow::onRunCommandTickboxChanged(Row& row)
{
    if (ui::isOn(row.tickbox(SlotField::RunCommand))) {
        dialogs::setEntryOn(row.textbox(SlotField::Command));
        row.tickbox(SlotField::RunHidden).setEnabled(true);
    } else {
        dialogs::setEntryOff(row.textbox(SlotField::Command));
        row.tickbox(SlotField::RunHidden).setEnabled(false);
        ui::setSwitchValue(row.tickbox(SlotField::RunHidden), 0);
    }
    showRowNote(row);
}

void AlarmSettingsWindow::onTimeTextboxChanged(Row& row)
{
    showRowNote(row);
}

void AlarmSettingsWindow::onRunCommandTextboxChanged(Row& row)
{
    showRowNote(row);
}

QString AlarmSettingsWindow::neverFiresNote() const
{
    // It names no time read from the text, which may mean none ("25:00:00", "noon").
    QString note = QStringLiteral("Never fires: use HH:MM:SS, e.g. 19:30:00");
    if (services_.timeFormat.isTwelveHour())
        note += QStringLiteral(", or the clock's own %1").arg(services_.timeFormat.format(19, 30, 0));
    return note;
}

void AlarmSettingsWindow::showRowNote(Row& row)
{
    const QString time = ui::isOn(row.tickbox(SlotField::Enabled))
            && !firingTimes_.canFire(row.textbox(SlotField::Time).text())
        ? neverFiresNote()
        : QString();
    const QString command = ui::isOn(row.tickbox(SlotField::RunCommand))
        ? commandLineNote(row.textbox(SlotField::Command).text())
        : QString();
    QStringList notes { time, command };
    notes.removeAll(QString());
    const QString note = notes.join(QStringLiteral("; "));
    ui::showNote(*row.note, note);
    row.textbox(SlotField::Time).setToolTip(time);
    row.textbox(SlotField::Command).setToolTip(command);
}

void AlarmSettingsWindow::onOkClicked()
{
    SettingsStore& store = services_.store;
    LiveState& state = services_.state;
    // One rewrite of the settings file for the whole window, whatever it holds.
    const SettingsBatch batch(store);
    ui::savePlace(*this, store, windows::alarmSettings());
    const int master = ui::switchValue(*enableAlarms_);
    store.saveSwitch(settings::kEnableAlarms.name(), master);
    const auto save = [&](const Row& row, SlotField field) {
        store.saveSetting(slotKey(field, row.slot), storedText(row.shown(), field));
    };
    for (const Row& row : rows_) {
        for (const SlotFieldInfo& info : kSlotFields) {
            if (!savedAfterRows(info.field))
                save(row, info.field);
        }
    }
    for (const SlotFieldInfo& info : kSlotFields) {
        for (const Row& row : rows_) {
            if (savedAfterRows(info.field))
                save(row, info.field);
        }
    }
    for (const Row& row : rows_)
        state.slot(row.slot) = row.shown();

    // A row's check runs only under a ticked master switch, so that no alarm fires while this
    // window says alarms are off (a row stored on under a master switch stored off).
    state.masterSwitch = master;
    close();
}

void AlarmSettingsWindow::onTestAlarmWindowButtonClicked()
{
    // Opened over this window; it takes nothing from the rows, so unapplied edits stay here.
    TestNotificationWindow::showOver(services_, this);
}

} // namespace vqdbd

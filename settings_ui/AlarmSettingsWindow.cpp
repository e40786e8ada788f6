// SPDX-License-Identifier: GPL-3.0-or-later
#include "AlarmSettingsWindow.h"

#include "DialogSupport.h"
#include "alarms/CommandLaunch.h"
#include "notify/TestNotificationWindow.h"
#include "state/Captions.h"
#include "state/LiveState.h"
#include "state/SettingKeys.h"
#include "state/SettingsStore.h"
#include "state/TimeText.h"
#include "state/ValueForms.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/Twips.h"
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

// A design with what a screen reader says of it; %1 stands for the slot number.
ControlDesign described(ControlDesign design, QString accessibleName)
{
    design.accessibleName = std::move(accessibleName);
    return design;
}

ControlDesign rowLabel(QString name, QString caption, int left, int width)
{
    return ui::controlDesign(std::move(name), ControlKind::Label, std::move(caption), left, 600, width, 255);
}

ControlDesign rowTickbox(SlotField field, QString caption, int left, int top, int width, int height,
                         bool enabled)
{
    ControlDesign design
        = ui::controlDesign(QString::fromLatin1(slotFieldInfo(field).keyPattern), ControlKind::CheckBox,
                            std::move(caption), left, top, width, height);
    design.enabled = enabled;
    return design;
}

// A row text box starts in the off look.
ControlDesign rowTextbox(SlotField field, QString text, int left, int top, int width)
{
    ControlDesign design = ui::controlDesign(QString::fromLatin1(slotFieldInfo(field).keyPattern),
                                             ControlKind::TextBox, std::move(text), left, top, width, 285);
    design.font = kRowTextFont;
    design.backColour = ui::kLightGrey;
    design.locked = true;
    design.enabled = false;
    return design;
}

ControlDesign numberBox()
{
    ControlDesign design = ui::controlDesign(QStringLiteral("ALARM_NUMBER_%1_TEXTBOX"), ControlKind::TextBox,
                                             QString(), 120, 1200, 495, 495);
    design.font = FontDesign { FontDesign::Face::ArialBlack, 14.25, true };
    design.textColour = ui::kYellow;
    design.backColour = ui::kBlack;
    design.alignment = Qt::AlignCenter;
    return design;
}

// Says beside the row, while it is typed, when a ticked row's time can never fire or its command line
// will not run. It fills the row's free space right of Run Hidden, from below the message box down to
// the command box and across to the column's edge, so that a long note has two lines; a note of one
// line stands level with Run Hidden.
ControlDesign rowNote()
{
    ControlDesign design = ui::controlDesign(QStringLiteral("ALARM_%1_NOTE_LABEL"), ControlKind::Label,
                                             QString(), 3660, 1140, 3090, 300);
    design.textColour = ui::kRed;
    design.alignment = Qt::AlignLeft | Qt::AlignBottom;
    design.visible = false;
    return design;
}

// The controls of row 1 at their places; "%1" in a name stands for the slot number, and in the
// header labels for nothing on row 1 and "_n" on the others.
std::vector<ControlDesign> firstRowDesigns()
{
    const AlarmSlot defaults = defaultSlot();
    ControlDesign time = rowTextbox(SlotField::Time, defaults.time, 2400, 840, 975);
    time.alignment = Qt::AlignCenter;
    return {
        rowLabel(QStringLiteral("ENABLE_XXX_ALARM_LABEL%1"), QStringLiteral("Enable"), 120, 495),
        rowLabel(QStringLiteral("ALARM_XXX_NAME_LABEL%1"), QStringLiteral("Name"), 720, 855),
        rowLabel(QStringLiteral("ALARM_XXX_TIME_LABLE%1"), QStringLiteral("Time"), 2400, 495),
        rowTickbox(SlotField::ShowMessage, QStringLiteral("Display Message"), 3480, 600, 1575, 255, false),
        rowTickbox(SlotField::AutoClose, QStringLiteral("Auto Close"), 5520, 600, 1095, 255, true),
        described(rowTickbox(SlotField::Enabled, QString(), 240, 840, 255, 375, false),
                  QStringLiteral("Enable alarm %1")),
        described(rowTextbox(SlotField::Name, defaults.name, 720, 840, 1575),
                  QStringLiteral("Name of alarm %1")),
        described(time, QStringLiteral("Time of alarm %1")),
        described(rowTextbox(SlotField::Message, defaults.message, 3480, 840, 3135),
                  QStringLiteral("Message of alarm %1")),
        described(numberBox(), QStringLiteral("Alarm %1")),
        rowTickbox(SlotField::RunCommand, QStringLiteral("Run Command"), 720, 1200, 1575, 255, false),
        rowTickbox(SlotField::RunHidden, QStringLiteral("Run Hidden"), 2400, 1200, 1215, 255, false),
        described(rowTextbox(SlotField::Command, defaults.command, 720, 1440, 5895),
                  QStringLiteral("Command of alarm %1")),
        rowNote(),
    };
}

ControlDesign line(int number, int left, int top, int width, int height)
{
    return ui::controlDesign(QStringLiteral("Line%1").arg(number), ControlKind::Line, QString(), left, top,
                             width, height);
}

void setSwitch(QCheckBox& box, int value)
{
    ui::setSwitchValue(box, value);
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
        ui::titleLabel(QStringLiteral("VQ_DBD_TITLE_1"), QStringLiteral("VELA-QUILL"), 120, 120, 2175, 315),
        ui::titleLabel(QStringLiteral("VQ_DBD_TITLE_2"), QStringLiteral("DRUM-BEAT-DIAL"), 2400, 120, 2775,
                       315),
        ui::titleLabel(QStringLiteral("VQ_DRUM_BEAT_DIAL_TITLE_2"), captions::shortName(), 8040, 120, 2295,
                       315),
        ui::titleLabel(QStringLiteral("ALARM_SETTINGS_LABEL"), QStringLiteral("ALARM SETTINGS"), 10440, 120,
                       3015, 315),
    };
    int lineNumber = 0;
    for (const int y : { 480, 1800, 3120, 4440, 5760, 7080 })
        design.push_back(line(++lineNumber, 120, y, 13320, 0));
    design.push_back(line(++lineNumber, kColumnShift, 480, 0, 6600));
    design.push_back(ui::controlDesign(QStringLiteral("OK_BUTTON"), ControlKind::Button, QStringLiteral("OK"),
                                       9120, 7320, 2655, 495));
    ControlDesign master = ui::controlDesign(settings::kEnableAlarms.name(), ControlKind::CheckBox,
                                             QStringLiteral("Enable Alarms"), 5520, 120, 2415, 255);
    master.font = FontDesign { FontDesign::Face::ArialBlack, 11.25, true };
    design.push_back(master);
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
        for (QWidget* control : rowControls(row)) {
            setTabOrder(previous, control);
            previous = control;
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
    row.enabled = tickbox(row, SlotField::Enabled);
    row.name = textbox(row, SlotField::Name);
    row.time = textbox(row, SlotField::Time);
    row.showMessage = tickbox(row, SlotField::ShowMessage);
    row.message = textbox(row, SlotField::Message);
    row.autoClose = tickbox(row, SlotField::AutoClose);
    row.runCommand = tickbox(row, SlotField::RunCommand);
    row.runHidden = tickbox(row, SlotField::RunHidden);
    row.command = textbox(row, SlotField::Command);
    row.note = &ui::control<QLabel>(*this, QStringLiteral("ALARM_%1_NOTE_LABEL").arg(n));
    ui::control<QLineEdit>(*this, QStringLiteral("ALARM_NUMBER_%1_TEXTBOX").arg(n))
        .setText(LiveState::slotNumberText(n));
    // Room for the clock's own text in a 12-hour locale ("07:30:00 PM"), which fires there too, and a
    // font in which every hour's text is seen whole, as on the clock.
    row.time->setMaxLength(services_.timeFormat.longestText());
    QStringList shown = services_.timeFormat.hourSamples();
    shown.append(row.time->text());
    ui::fitTextBox(*row.time, shown);

    ui::whenValueChanges(*row.enabled, *this, [this, &row] { onAlarmTickboxChanged(row); });
    ui::whenValueChanges(*row.showMessage, *this, [this, &row] { onDisplayMessageTickboxChanged(row); });
    ui::whenValueChanges(*row.runCommand, *this, [this, &row] { onRunCommandTickboxChanged(row); });
    connect(row.time, &QLineEdit::textChanged, this, [this, &row] { onTimeTextboxChanged(row); });
    connect(row.command, &QLineEdit::textChanged, this, [this, &row] { onRunCommandTextboxChanged(row); });
}

std::array<QWidget*, 9> AlarmSettingsWindow::rowControls(const Row& row)
{
    return { row.enabled,   row.name,       row.time,      row.showMessage, row.message,
             row.autoClose, row.runCommand, row.runHidden, row.command };
}

QCheckBox* AlarmSettingsWindow::tickbox(const Row& row, SlotField field) const
{
    return &ui::control<QCheckBox>(*this, slotKey(field, row.slot));
}

QLineEdit* AlarmSettingsWindow::textbox(const Row& row, SlotField field) const
{
    return &ui::control<QLineEdit>(*this, slotKey(field, row.slot));
}

void AlarmSettingsWindow::load()
{
    SettingsStore& store = services_.store;
    const AlarmSlot defaults = defaultSlot();
    ui::placeFromStore(*this, store, windows::alarmSettings(), services_.windows);
    setSwitch(*enableAlarms_,
              store.readSwitch(settings::kEnableAlarms.name(), settings::kEnableAlarms.defaultValue));

    const auto loadSwitches = [&](SlotField field) {
        for (Row& row : rows_)
            setSwitch(*tickbox(row, field),
                      store.readSwitch(slotKey(field, row.slot), switchField(defaults, field)));
    };
    const auto loadTexts = [&](SlotField field) {
        for (Row& row : rows_)
            textbox(row, field)
                ->setText(store.readText(slotKey(field, row.slot), textField(defaults, field)));
    };
    loadSwitches(SlotField::Enabled);
    loadTexts(SlotField::Name);
    loadTexts(SlotField::Time);
    loadSwitches(SlotField::ShowMessage);
    loadTexts(SlotField::Message);
    loadSwitches(SlotField::RunCommand);
    loadTexts(SlotField::Command);
    loadSwitches(SlotField::AutoClose);
    loadSwitches(SlotField::RunHidden);
    if (!ui::isOn(*enableAlarms_))
        greyRows();
    loaded_ = true;
}

void AlarmSettingsWindow::onEnableAlarmsTickboxChanged()
{
    const int master = ui::switchValue(*enableAlarms_);
    if (forms::isOn(master)) {
        ungreyRows();
        for (Row& row : rows_) {
            row.enabled->setEnabled(true);
            row.runHidden->setEnabled(true);
        }
    } else {
        greyRows();
    }
    services_.store.saveSwitch(settings::kEnableAlarms.name(), master);
    // Opening the window shows the switch as it stands: only a change made in it switches the alarms,
    // at once and even if the window is then closed without OK. No alarm fires while it is off, and
    // ticked again, the slots fire as they are, since clearing it changed none of them.
    if (loaded_)
        services_.state.switchAlarms(master);
}

void AlarmSettingsWindow::greyRows()
{
    for (const Row& row : rows_) {
        for (QWidget* control : rowControls(row)) {
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
    if (ui::isOn(*row.enabled)) {
        row.name->setEnabled(true);
        row.time->setEnabled(true);
        row.showMessage->setEnabled(true);
        row.runCommand->setEnabled(true);
        row.name->setReadOnly(false);
        row.time->setReadOnly(false);
        ui::setBackColour(*row.name, ui::kWindowBackground);
        ui::setBackColour(*row.time, ui::kWindowBackground);
        // Enabled even while Run Command is clear.
        row.runHidden->setEnabled(true);
        row.autoClose->setEnabled(true);
    } else {
        row.name->setEnabled(false);
        row.time->setEnabled(false);
        row.showMessage->setEnabled(false);
        row.runCommand->setEnabled(false);
        row.name->setReadOnly(true);
        row.time->setReadOnly(true);
        ui::setBackColour(*row.name, ui::kLightGrey);
        ui::setBackColour(*row.time, ui::kLightGrey);
        row.runHidden->setEnabled(false);
        setSwitch(*row.runHidden, 0);
        setSwitch(*row.runCommand, 0);
        row.autoClose->setEnabled(false);
        setSwitch(*row.autoClose, 0);
        setSwitch(*row.showMessage, 0);
    }
    showRowNote(row);
}

void AlarmSettingsWindow::onDisplayMessageTickboxChanged(Row& row)
{
    if (ui::isOn(*row.showMessage))
        dialogs::setEntryOn(*row.message);
    else
        dialogs::setEntryOff(*row.message);
}

void AlarmSettingsWindow::onRunCommandTickboxChanged(Row& row)
{
    if (ui::isOn(*row.runCommand)) {
        dialogs::setEntryOn(*row.command);
        row.runHidden->setEnabled(true);
    } else {
        dialogs::setEntryOff(*row.command);
        row.runHidden->setEnabled(false);
        setSwitch(*row.runHidden, 0);
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
    const QString time
        = ui::isOn(*row.enabled) && !firingTimes_.canFire(row.time->text()) ? neverFiresNote() : QString();
    const QString command = ui::isOn(*row.runCommand) ? commandLineNote(row.command->text()) : QString();
    QStringList notes { time, command };
    notes.removeAll(QString());
    const QString note = notes.join(QStringLiteral("; "));
    ui::showNote(*row.note, note);
    row.time->setToolTip(time);
    row.command->setToolTip(command);
}

void AlarmSettingsWindow::onOkClicked()
{
    SettingsStore& store = services_.store;
    LiveState& state = services_.state;
    // One rewrite of the settings file for the whole window, whatever it holds.
    const SettingsBatch batch(store);
    const auto saveSwitch = [&](const Row& row, SlotField field) {
        store.saveSwitch(slotKey(field, row.slot), ui::switchValue(*tickbox(row, field)));
    };
    const auto saveText = [&](const Row& row, SlotField field) {
        store.saveSetting(slotKey(field, row.slot), textbox(row, field)->text());
    };

    ui::savePlace(*this, store, windows::alarmSettings());
    const int master = ui::switchValue(*enableAlarms_);
    store.saveSwitch(settings::kEnableAlarms.name(), master);
    for (const Row& row : rows_) {
        saveSwitch(row, SlotField::Enabled);
        saveText(row, SlotField::Name);
        saveText(row, SlotField::Time);
        saveText(row, SlotField::Message);
        saveSwitch(row, SlotField::RunCommand);
        saveText(row, SlotField::Command);
    }
    for (const SlotField field : { SlotField::ShowMessage, SlotField::AutoClose, SlotField::RunHidden }) {
        for (const Row& row : rows_)
            saveSwitch(row, field);
    }

    for (const Row& row : rows_) {
        AlarmSlot& slot = state.slot(row.slot);
        slot.enabled = ui::switchValue(*row.enabled);
        slot.showMessage = ui::switchValue(*row.showMessage);
        slot.runCommand = ui::switchValue(*row.runCommand);
        slot.name = row.name->text();
        slot.time = row.time->text();
        slot.message = row.message->text();
        slot.command = row.command->text();
    }
    for (const Row& row : rows_)
        state.slot(row.slot).autoClose = ui::switchValue(*row.autoClose);
    for (const Row& row : rows_)
        state.slot(row.slot).runHidden = ui::switchValue(*row.runHidden);

    // A row's check runs only under a ticked master switch, so that no alarm fires while this
    // window says alarms are off (a row stored on under a master switch stored off).
    state.switchAlarms(master);
    close();
}

void AlarmSettingsWindow::onTestAlarmWindowButtonClicked()
{
    // Opened over this window; it takes nothing from the rows, so unapplied edits stay here.
    TestNotificationWindow::showOver(services_, this);
}

} // namespace vqdbd

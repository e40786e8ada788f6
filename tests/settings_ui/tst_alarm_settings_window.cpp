#include "SettingsRig.h"
#include "settings_ui/AlarmSettingsWindow.h"
#include "state/AlarmSlot.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/Twips.h"

#include <QPushButton>

using namespace vqdbd;
using namespace vqdbd::test;

class AlarmSettingsWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void emptyStoreOpensWithEveryRowOff();
    void rowsSitInTwoColumns_data();
    void rowsSitInTwoColumns();
    void loadsKeysInItsOrder();
    void rulesGiveEveryControlItsState_data();
    void rulesGiveEveryControlItsState();
    void clearingTheMasterSwitchActsAtOnce();
    void tickingTheMasterSwitchTicksNoRowAndStartsNothing();
    void clearingARowKeepsItsTexts();
    void okSavesEveryKeyInItsOrder();
    void okReplacesTheLiveSlotsAndSwitchesTheChecks();
    void okStartsARowsCheckOnlyUnderATickedMasterSwitch();
    void okSavesTextsExactlyAsTheyStand();
    void closeBoxSavesOnlyThePlace();
    void timeThatCanNeverFireIsShownBesideItsBox_data();
    void timeThatCanNeverFireIsShownBesideItsBox();
    void timeWarningFollowsTypingAndTheRowTick();
    void testButtonOpensTheTestWindowAndKeepsEdits();

private:
    static AlarmSettingsWindow* open(SettingsRig& rig)
    {
        return AlarmSettingsWindow::showOver(rig.services(), rig.owner.get());
    }
};

namespace {

QString key(SlotField field, int slot)
{
    return slotKey(field, slot);
}

QCheckBox* tickbox(const QWidget* window, SlotField field, int slot)
{
    return control<QCheckBox>(window, key(field, slot));
}

QLineEdit* textbox(const QWidget* window, SlotField field, int slot)
{
    return control<QLineEdit>(window, key(field, slot));
}

// A check box as value and e(nabled) or d(isabled): "1e".
QString tickState(const QCheckBox& box)
{
    return QString::number(ui::switchValue(box)) + (box.isEnabled() ? u'e' : u'd');
}

// A text box as "on" (enabled, unlocked, window background), "off" (disabled, locked, grey), or
// its three properties spelled out when it is neither.
QString textState(const QLineEdit& box)
{
    const QColor back = box.palette().color(QPalette::Base);
    const bool windowBack = back == ui::toQColor(ui::kWindowBackground);
    const bool grey = back == ui::toQColor(ui::kLightGrey);
    if (box.isEnabled() && !box.isReadOnly() && windowBack)
        return QStringLiteral("on");
    if (!box.isEnabled() && box.isReadOnly() && grey)
        return QStringLiteral("off");
    return QStringLiteral("%1/%2/%3")
        .arg(box.isEnabled() ? "enabled" : "disabled", box.isReadOnly() ? "locked" : "unlocked",
             windowBack ? "window"
                 : grey ? "grey"
                        : "other");
}

// Every control of a row that a rule touches, in the row's reading order.
QString rowState(const QWidget* window, int n)
{
    return QStringLiteral("tick=%1 name=%2 time=%3 dm=%4 msg=%5 ac=%6 rc=%7 rh=%8 cmd=%9")
        .arg(tickState(*tickbox(window, SlotField::Enabled, n)),
             textState(*textbox(window, SlotField::Name, n)), textState(*textbox(window, SlotField::Time, n)),
             tickState(*tickbox(window, SlotField::ShowMessage, n)),
             textState(*textbox(window, SlotField::Message, n)),
             tickState(*tickbox(window, SlotField::AutoClose, n)),
             tickState(*tickbox(window, SlotField::RunCommand, n)),
             tickState(*tickbox(window, SlotField::RunHidden, n)),
             textState(*textbox(window, SlotField::Command, n)));
}

const QString kRowAsDesigned
    = QStringLiteral("tick=0d name=off time=off dm=0d msg=off ac=0e rc=0d rh=0d cmd=off");
const QString kRowClearedByRule
    = QStringLiteral("tick=0d name=off time=off dm=0d msg=off ac=0d rc=0d rh=0d cmd=off");

QMap<QString, QString> storeOf(const QString& entries)
{
    QMap<QString, QString> values;
    for (const QString& entry : entries.split(u' ', Qt::SkipEmptyParts))
        values.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    return values;
}

const QString kMaster = QStringLiteral("ENABLE_ALARMS_TICKBOX");

} // namespace

void AlarmSettingsWindowTest::cleanup()
{
    QVERIFY2(openWindows().isEmpty(), qPrintable(openWindows().join(u' ')));
}

void AlarmSettingsWindowTest::emptyStoreOpensWithEveryRowOff()
{
    SettingsRig rig;
    AlarmSettingsWindow* window = open(rig);
    QCOMPARE(window->objectName(), QStringLiteral("VQ_DBD_ALARM_SETTINGS"));
    QCOMPARE(window->windowTitle(), QStringLiteral("VQ-DBD - V3 - ALARM SETTINGS"));
    QCOMPARE(window->parentWidget(), rig.owner.get());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(67, 67)); // 1000 twips
    QCOMPARE(window->size(), QSize(912, 557)); // 13680 x 8355 twips
    QCOMPARE(window->focusWidget(), control(window, QStringLiteral("OK_BUTTON")));
    QCOMPARE(tickState(*control<QCheckBox>(window, kMaster)), QStringLiteral("0e"));
    QCOMPARE(control<QCheckBox>(window, kMaster)->text(), QStringLiteral("Enable Alarms"));
    QCOMPARE(control<QPushButton>(window, QStringLiteral("TEST_ALARM_WINDOW_BUTTON"))->text(),
             QStringLiteral("Test Alarm Notification Window"));
    for (const char* name : { "OK_BUTTON", "TEST_ALARM_WINDOW_BUTTON" })
        QVERIFY(control(window, QString::fromLatin1(name))->isEnabled());
    for (int n = 1; n <= kSlotCount; ++n) {
        QCOMPARE(rowState(window, n), kRowAsDesigned);
        QCOMPARE(textbox(window, SlotField::Name, n)->text(), QStringLiteral("Alarm Name"));
        QCOMPARE(textbox(window, SlotField::Time, n)->text(), QStringLiteral("00:00:00"));
        QCOMPARE(textbox(window, SlotField::Message, n)->text(), QStringLiteral("Display Message"));
        QCOMPARE(textbox(window, SlotField::Command, n)->text(), QStringLiteral("Run Command"));
        auto* number = control<QLineEdit>(window, QStringLiteral("ALARM_NUMBER_%1_TEXTBOX").arg(n));
        QCOMPARE(number->text(), QString::number(n));
        QVERIFY(number->isEnabled());
        QVERIFY(!number->isReadOnly());
        QVERIFY(!control(window, QStringLiteral("ALARM_%1_TIME_WARNING_LABEL").arg(n))->isVisible());
    }
    QVERIFY(rig.backend.writeLog.isEmpty());
    window->close();
}

void AlarmSettingsWindowTest::rowsSitInTwoColumns_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QPoint>("shift"); // twips from row 1
    QTest::newRow("1") << 1 << QPoint(0, 0);
    QTest::newRow("3") << 3 << QPoint(0, 2640);
    QTest::newRow("5") << 5 << QPoint(0, 5280);
    QTest::newRow("6") << 6 << QPoint(6840, 0);
    QTest::newRow("10") << 10 << QPoint(6840, 5280);
}

void AlarmSettingsWindowTest::rowsSitInTwoColumns()
{
    QFETCH(int, slot);
    QFETCH(QPoint, shift);
    SettingsRig rig;
    AlarmSettingsWindow* window = open(rig);
    const QString suffix = slot == 1 ? QString() : QStringLiteral("_%1").arg(slot);
    const QList<std::tuple<QString, int, int, int, int>> places {
        { "ENABLE_XXX_ALARM_LABEL" + suffix, 120, 600, 495, 255 },
        { "ALARM_XXX_NAME_LABEL" + suffix, 720, 600, 855, 255 },
        { "ALARM_XXX_TIME_LABLE" + suffix, 2400, 600, 495, 255 },
        { key(SlotField::ShowMessage, slot), 3480, 600, 1575, 255 },
        { key(SlotField::AutoClose, slot), 5520, 600, 1095, 255 },
        { key(SlotField::Enabled, slot), 240, 840, 255, 375 },
        { key(SlotField::Name, slot), 720, 840, 1575, 285 },
        { key(SlotField::Time, slot), 2400, 840, 975, 285 },
        { key(SlotField::Message, slot), 3480, 840, 3135, 285 },
        { QStringLiteral("ALARM_NUMBER_%1_TEXTBOX").arg(slot), 120, 1200, 495, 495 },
        { key(SlotField::RunCommand, slot), 720, 1200, 1575, 255 },
        { key(SlotField::RunHidden, slot), 2400, 1200, 1215, 255 },
        { key(SlotField::Command, slot), 720, 1440, 5895, 285 },
    };
    for (const auto& [name, left, top, width, height] : places) {
        QCOMPARE(control(window, name)->geometry(),
                 ui::toPixels(left + shift.x(), top + shift.y(), width, height));
    }
    QCOMPARE(textbox(window, SlotField::Time, slot)->maxLength(), 8);
    QCOMPARE(textbox(window, SlotField::Time, slot)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    window->close();
}

void AlarmSettingsWindowTest::loadsKeysInItsOrder()
{
    SettingsRig rig;
    AlarmSettingsWindow* window = open(rig);
    QStringList expected { "ALARM-SETTINGS-Left", "ALARM-SETTINGS-Top", "ALARM-SETTINGS-Width",
                           "ALARM-SETTINGS-Height", kMaster };
    for (const SlotField field :
         { SlotField::Enabled, SlotField::Name, SlotField::Time, SlotField::ShowMessage, SlotField::Message,
           SlotField::RunCommand, SlotField::Command, SlotField::AutoClose, SlotField::RunHidden }) {
        for (int n = 1; n <= kSlotCount; ++n)
            expected.append(key(field, n));
    }
    QCOMPARE(rig.backend.readLog, expected);
    window->close();
}

void AlarmSettingsWindowTest::rulesGiveEveryControlItsState_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("clicks"); // control names clicked after opening, in order
    QTest::addColumn<QString>("row3");
    QTest::addColumn<QString>("row4");

    QTest::newRow("empty store") << ""
                                 << "" << kRowAsDesigned << kRowAsDesigned;
    QTest::newRow("master stored on enables every row box and Run Hidden")
        << "ENABLE_ALARMS_TICKBOX=1"
        << ""
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off"
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    QTest::newRow("row stored on with Display Message")
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1"
        << ""
        << "tick=1e name=on time=on dm=1e msg=on ac=0e rc=0e rh=0e cmd=off"
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    QTest::newRow("row stored on with Run Command, Run Hidden and Auto Close")
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1 ALARM_3_RUN_COMMAND_TICKBOX=1 RUN_HIDDEN_3_TICKBOX=1 "
           "ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX=1"
        << ""
        << "tick=1e name=on time=on dm=0e msg=off ac=1e rc=1e rh=1e cmd=on"
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    QTest::newRow("row stored on under a master stored off")
        << "ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1"
        << ""
        << "tick=1d name=on time=on dm=1e msg=on ac=0e rc=0e rh=0e cmd=off" << kRowAsDesigned;
    QTest::newRow("options stored on in a row stored off")
        << "ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 ALARM_3_RUN_COMMAND_TICKBOX=1 RUN_HIDDEN_3_TICKBOX=1"
        << ""
        << "tick=0d name=off time=off dm=1d msg=on ac=0e rc=1d rh=1e cmd=on" << kRowAsDesigned;
    QTest::newRow("ticking a row") << "ENABLE_ALARMS_TICKBOX=1"
                                   << "ALARM_3_TICKBOX"
                                   << "tick=1e name=on time=on dm=0e msg=off ac=0e rc=0e rh=0e cmd=off"
                                   << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    QTest::newRow("ticking Run Command")
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1"
        << "ALARM_3_RUN_COMMAND_TICKBOX"
        << "tick=1e name=on time=on dm=0e msg=off ac=0e rc=1e rh=0e cmd=on"
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    QTest::newRow("clearing Run Command clears Run Hidden")
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1 ALARM_3_RUN_COMMAND_TICKBOX=1 RUN_HIDDEN_3_TICKBOX=1"
        << "ALARM_3_RUN_COMMAND_TICKBOX"
        << "tick=1e name=on time=on dm=0e msg=off ac=0e rc=0e rh=0d cmd=off"
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    QTest::newRow("clearing Display Message")
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1"
        << "ALARM_3_DISPLAY_MESSAGE_TICKBOX"
        << "tick=1e name=on time=on dm=0e msg=off ac=0e rc=0e rh=0e cmd=off"
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    QTest::newRow("clearing a row clears every option")
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 "
           "ALARM_3_RUN_COMMAND_TICKBOX=1 RUN_HIDDEN_3_TICKBOX=1 ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX=1"
        << "ALARM_3_TICKBOX"
        << "tick=0e name=off time=off dm=0d msg=off ac=0d rc=0d rh=0d cmd=off"
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    QTest::newRow("clearing the master clears every row")
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 ALARM_4_TICKBOX=1 "
           "ALARM_4_RUN_COMMAND_TICKBOX=1"
        << kMaster << kRowClearedByRule << kRowClearedByRule;
    QTest::newRow("row stored on under a master stored off is cleared through the master")
        << "ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1"
        << "ENABLE_ALARMS_TICKBOX ENABLE_ALARMS_TICKBOX" << kRowClearedByRule << kRowAsDesigned;
    QTest::newRow("clicks on disabled boxes do nothing")
        << ""
        << "ALARM_3_TICKBOX ALARM_3_RUN_COMMAND_TICKBOX" << kRowAsDesigned << kRowAsDesigned;
}

void AlarmSettingsWindowTest::rulesGiveEveryControlItsState()
{
    QFETCH(QString, stored);
    QFETCH(QString, clicks);
    QFETCH(QString, row3);
    QFETCH(QString, row4);
    SettingsRig rig;
    rig.backend.values = storeOf(stored);
    AlarmSettingsWindow* window = open(rig);
    for (const QString& name : clicks.split(u' ', Qt::SkipEmptyParts))
        control<QCheckBox>(window, name)->click();
    QCOMPARE(rowState(window, 3), row3);
    QCOMPARE(rowState(window, 4), row4);
    window->close();
}

void AlarmSettingsWindowTest::clearingTheMasterSwitchActsAtOnce()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_2_TICKBOX=1 ALARM_9_TICKBOX=1");
    rig.state.masterSwitch = 1;
    rig.state.setSlotCheckRunning(2, true);
    rig.state.setSlotCheckRunning(9, true);
    AlarmSettingsWindow* window = open(rig);
    // Loading the master ticked runs its rule, which stores it again.
    QCOMPARE(rig.takeWrittenKeys(), QStringList { kMaster });
    control<QCheckBox>(window, kMaster)->click();
    QCOMPARE(rig.backend.writeLog, QStringList { "ENABLE_ALARMS_TICKBOX=0" });
    QCOMPARE(rig.state.masterSwitch, 0);
    for (int n = 1; n <= kSlotCount; ++n) {
        QVERIFY(!rig.state.isSlotCheckRunning(n));
        QCOMPARE(tickState(*tickbox(window, SlotField::Enabled, n)), QStringLiteral("0d"));
        QCOMPARE(tickState(*tickbox(window, SlotField::RunHidden, n)), QStringLiteral("0d"));
    }
    // Closed without OK: the rows stay as stored, the master stays off.
    window->close();
    QCOMPARE(rig.takeWrittenKeys(), QStringList({ kMaster, "ALARM-SETTINGS-Left", "ALARM-SETTINGS-Top" }));
    QCOMPARE(rig.backend.value(kMaster), QStringLiteral("0"));
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_2_TICKBOX")), QStringLiteral("1"));
    QVERIFY(!rig.state.isSlotCheckRunning(2));
}

void AlarmSettingsWindowTest::tickingTheMasterSwitchTicksNoRowAndStartsNothing()
{
    SettingsRig rig;
    AlarmSettingsWindow* window = open(rig);
    control<QCheckBox>(window, kMaster)->click();
    QCOMPARE(rig.backend.writeLog, QStringList { "ENABLE_ALARMS_TICKBOX=1" });
    QCOMPARE(rig.state.masterSwitch, 1);
    for (int n = 1; n <= kSlotCount; ++n) {
        QVERIFY(!rig.state.isSlotCheckRunning(n));
        QCOMPARE(tickState(*tickbox(window, SlotField::Enabled, n)), QStringLiteral("0e"));
        QCOMPARE(tickState(*tickbox(window, SlotField::RunHidden, n)), QStringLiteral("0e"));
    }
    window->close();
}

void AlarmSettingsWindowTest::clearingARowKeepsItsTexts()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1 ALARM_3_NAME_TEXTBOX=Tea "
                                 "ALARM_3_TIME_TEXTBOX=16:00:00 ALARM_3_MESSAGE_TEXTBOX=Brew "
                                 "ALARM_3_RUN_COMMAND_TEXTBOX=kettle");
    AlarmSettingsWindow* window = open(rig);
    tickbox(window, SlotField::Enabled, 3)->click();
    QCOMPARE(textbox(window, SlotField::Name, 3)->text(), QStringLiteral("Tea"));
    QCOMPARE(textbox(window, SlotField::Time, 3)->text(), QStringLiteral("16:00:00"));
    QCOMPARE(textbox(window, SlotField::Message, 3)->text(), QStringLiteral("Brew"));
    QCOMPARE(textbox(window, SlotField::Command, 3)->text(), QStringLiteral("kettle"));
    window->close();
}

void AlarmSettingsWindowTest::okSavesEveryKeyInItsOrder()
{
    SettingsRig rig;
    AlarmSettingsWindow* window = open(rig);
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();
    QStringList expected { "ALARM-SETTINGS-Left", "ALARM-SETTINGS-Top", kMaster };
    for (int n = 1; n <= kSlotCount; ++n) {
        for (const SlotField field : { SlotField::Enabled, SlotField::Name, SlotField::Time,
                                       SlotField::Message, SlotField::RunCommand, SlotField::Command })
            expected.append(key(field, n));
    }
    for (const SlotField field : { SlotField::ShowMessage, SlotField::AutoClose, SlotField::RunHidden }) {
        for (int n = 1; n <= kSlotCount; ++n)
            expected.append(key(field, n));
    }
    expected << "ALARM-SETTINGS-Left"
             << "ALARM-SETTINGS-Top";
    QCOMPARE(rig.takeWrittenKeys(), expected);
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM-SETTINGS-Left")), QStringLiteral("1000"));
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_7_TIME_TEXTBOX")), QStringLiteral("00:00:00"));
    QCOMPARE(rig.backend.value(QStringLiteral("RUN_HIDDEN_7_TICKBOX")), QStringLiteral("0"));
    QCOMPARE(openWindows(), QStringList { QStringLiteral("OWNER") });
}

void AlarmSettingsWindowTest::okReplacesTheLiveSlotsAndSwitchesTheChecks()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_5_TICKBOX=1");
    rig.state.masterSwitch = 1;
    rig.state.setSlotCheckRunning(5, true);
    AlarmSettingsWindow* window = open(rig);
    tickbox(window, SlotField::Enabled, 2)->click();
    textbox(window, SlotField::Name, 2)->setText(QStringLiteral("Wake up"));
    textbox(window, SlotField::Time, 2)->setText(QStringLiteral("07:30:00"));
    tickbox(window, SlotField::ShowMessage, 2)->click();
    textbox(window, SlotField::Message, 2)->setText(QStringLiteral("Rise"));
    tickbox(window, SlotField::RunCommand, 2)->click();
    textbox(window, SlotField::Command, 2)->setText(QStringLiteral("radio --on"));
    tickbox(window, SlotField::RunHidden, 2)->click();
    tickbox(window, SlotField::AutoClose, 2)->click();
    tickbox(window, SlotField::Enabled, 5)->click(); // a running row cleared
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();

    const AlarmSlot expected { 1, "Wake up", "07:30:00", 1, "Rise", 1, "radio --on", 1, 1 };
    QCOMPARE(rig.state.slot(2), expected);
    QCOMPARE(rig.state.slot(5), defaultSlot());
    QVERIFY(rig.state.isSlotCheckRunning(2));
    QVERIFY(!rig.state.isSlotCheckRunning(5));
    for (const SlotFieldInfo& info : kSlotFields)
        QCOMPARE(rig.backend.value(key(info.field, 2)), storedText(expected, info.field));
    QCOMPARE(rig.backend.value(kMaster), QStringLiteral("1"));
}

void AlarmSettingsWindowTest::okStartsARowsCheckOnlyUnderATickedMasterSwitch()
{
    // A row left on under a master switch cleared in an earlier opening that ended without OK.
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=0 ALARM_4_TICKBOX=1");
    AlarmSettingsWindow* window = open(rig);
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();
    QCOMPARE(rig.state.slot(4).enabled, 1);
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_4_TICKBOX")), QStringLiteral("1"));
    QVERIFY(!rig.state.isSlotCheckRunning(4)); // no alarm fires while the window says alarms are off
}

void AlarmSettingsWindowTest::okSavesTextsExactlyAsTheyStand()
{
    SettingsRig rig;
    rig.backend.values
        = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_1_TICKBOX=1 ALARM_1_DISPLAY_MESSAGE_TICKBOX=1");
    AlarmSettingsWindow* window = open(rig);
    textbox(window, SlotField::Name, 1)->clear();
    textbox(window, SlotField::Time, 1)->setText(QStringLiteral(" 7:30 "));
    textbox(window, SlotField::Message, 1)->setText(QStringLiteral("  two  blanks "));
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();
    QCOMPARE(rig.backend.values.value(QStringLiteral("ALARM_1_NAME_TEXTBOX"), QStringLiteral("absent")),
             QString());
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_1_TIME_TEXTBOX")), QStringLiteral(" 7:30 "));
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_1_MESSAGE_TEXTBOX")), QStringLiteral("  two  blanks "));
    QCOMPARE(rig.state.slot(1).time, QStringLiteral(" 7:30 "));

    // The empty name comes back empty, not as the default.
    window = open(rig);
    QCOMPARE(textbox(window, SlotField::Name, 1)->text(), QString());
    window->close();
}

void AlarmSettingsWindowTest::closeBoxSavesOnlyThePlace()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_6_TICKBOX=1");
    rig.state.masterSwitch = 1;
    rig.state.slot(6).enabled = 1;
    rig.state.setSlotCheckRunning(6, true);
    AlarmSettingsWindow* window = open(rig);
    rig.backend.writeLog.clear();
    textbox(window, SlotField::Name, 6)->setText(QStringLiteral("Edited"));
    tickbox(window, SlotField::Enabled, 6)->click();
    tickbox(window, SlotField::Enabled, 1)->click();
    window->move(20, 30);
    window->close();
    QCOMPARE(rig.backend.writeLog, QStringList({ "ALARM-SETTINGS-Left=300", "ALARM-SETTINGS-Top=450" }));
    QCOMPARE(rig.state.slot(6).name, QStringLiteral("Alarm Name"));
    QVERIFY(rig.state.isSlotCheckRunning(6));
    QVERIFY(!rig.state.isSlotCheckRunning(1));
}

void AlarmSettingsWindowTest::timeThatCanNeverFireIsShownBesideItsBox_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("warning"); // empty: none shown
    const QString ticked = QStringLiteral("ENABLE_ALARMS_TICKBOX=1 ALARM_8_TICKBOX=1 ALARM_8_TIME_TEXTBOX=");
    QTest::newRow("clock form") << ticked + "07:30:00"
                                << "";
    QTest::newRow("one-digit hour, no seconds") << ticked + "7:30"
                                                << "Never fires: clock shows 07:30:00";
    QTest::newRow("no seconds") << ticked + "07:30"
                                << "Never fires: clock shows 07:30:00";
    QTest::newRow("placeholder") << ticked + "HH:MM:SS"
                                 << "Never fires: clock shows 07:30:00";
    QTest::newRow("afternoon") << ticked + "16:5:0"
                               << "Never fires: clock shows 16:05:00";
    QTest::newRow("row off") << "ENABLE_ALARMS_TICKBOX=1 ALARM_8_TIME_TEXTBOX=7:30"
                             << "";
    QTest::newRow("row on under a master off") << "ALARM_8_TICKBOX=1 ALARM_8_TIME_TEXTBOX=7:30"
                                               << "Never fires: clock shows 07:30:00";
}

void AlarmSettingsWindowTest::timeThatCanNeverFireIsShownBesideItsBox()
{
    QFETCH(QString, stored);
    QFETCH(QString, warning);
    SettingsRig rig;
    rig.backend.values = storeOf(stored);
    AlarmSettingsWindow* window = open(rig);
    auto* label = control<QLabel>(window, QStringLiteral("ALARM_8_TIME_WARNING_LABEL"));
    QCOMPARE(label->isVisible(), !warning.isEmpty());
    if (!warning.isEmpty()) {
        QCOMPARE(label->text(), warning);
        QCOMPARE(textbox(window, SlotField::Time, 8)->toolTip(), warning);
        // Beside the time box, in the row's free space right of Run Hidden.
        QCOMPARE(label->geometry().topLeft(), ui::toPixels(3720 + 6840, 1200 + 2 * 1320, 0, 0).topLeft());
    }
    // It tells, and asks nothing: OK closes and saves the time exactly as typed.
    const QString typed = textbox(window, SlotField::Time, 8)->text();
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();
    QCOMPARE(openWindows(), QStringList { QStringLiteral("OWNER") });
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_8_TIME_TEXTBOX")), typed);
    QVERIFY(rig.notice.texts.isEmpty());
}

void AlarmSettingsWindowTest::timeWarningFollowsTypingAndTheRowTick()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_1_TICKBOX=1");
    AlarmSettingsWindow* window = open(rig);
    auto* time = textbox(window, SlotField::Time, 1);
    auto* label = control<QLabel>(window, QStringLiteral("ALARM_1_TIME_WARNING_LABEL"));
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("7:3"));
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), QStringLiteral("Never fires: clock shows 07:03:00"));
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("07:03:00"));
    QVERIFY(!label->isVisible());
    time->setText(QStringLiteral("7:30"));
    QVERIFY(label->isVisible());
    tickbox(window, SlotField::Enabled, 1)->click();
    QVERIFY(!label->isVisible());
    tickbox(window, SlotField::Enabled, 1)->click();
    QVERIFY(label->isVisible());
    window->close();
}

void AlarmSettingsWindowTest::testButtonOpensTheTestWindowAndKeepsEdits()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_2_TICKBOX=1");
    AlarmSettingsWindow* window = open(rig);
    textbox(window, SlotField::Name, 2)->setText(QStringLiteral("Unapplied"));
    control<QPushButton>(window, QStringLiteral("TEST_ALARM_WINDOW_BUTTON"))->click();
    auto* test = window->findChild<QWidget*>(QStringLiteral("VQ_DBD_ALARM_TEST_NOTIFICATION_WINDOW"),
                                             Qt::FindDirectChildrenOnly);
    QVERIFY(test);
    QVERIFY(test->isWindow());
    QVERIFY(test->isVisible());
    QCOMPARE(test->windowModality(), Qt::ApplicationModal);
    test->close();
    QCOMPARE(openWindows(), QStringList({ "OWNER", "VQ_DBD_ALARM_SETTINGS" }));
    QCOMPARE(textbox(window, SlotField::Name, 2)->text(), QStringLiteral("Unapplied"));
    QCOMPARE(rig.state.slot(2).name, QStringLiteral("Alarm Name"));
    window->close();
}

QTEST_MAIN(AlarmSettingsWindowTest)
#include "tst_alarm_settings_window.moc"

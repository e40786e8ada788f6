// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsRig.h"
#include "TestLocales.h"
#include "settings_ui/AlarmSettingsWindow.h"
#include "state/SettingKeys.h"
#include "state/StartupState.h"
#include "ui/Twips.h"

#include <QPushButton>

using namespace vqdbd;
using namespace vqdbd::test;

class AlarmSettingsWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QVERIFY2(openWindows().isEmpty(), qPrintable(openWindows().join(u' '))); }
    void emptyStoreOpensWithEveryRowOff();
    void rowsSitInTwoColumns_data();
    void rowsSitInTwoColumns();
    void rulesGiveEveryControlItsState_data();
    void rulesGiveEveryControlItsState();
    void masterSwitchActsAtOnceOnStoreAndChecks();
    void openingTheWindowSwitchesNoCheck();
    void checksAgreeWithTheStoreAndTheWindowAfterAnyClicks_data();
    void checksAgreeWithTheStoreAndTheWindowAfterAnyClicks();
    void okSavesEveryKeyInItsOrder();
    void okReplacesTheLiveSlotsAndSwitchesTheChecks();
    void okStartsARowsCheckOnlyUnderATickedMasterSwitch();
    void okSavesTextsExactlyAsTheyStand();
    void closeBoxSavesOnlyThePlace();
    void timeThatCanNeverFireIsShownBesideItsBox_data();
    void timeThatCanNeverFireIsShownBesideItsBox();
    void commandLineThatWillNotRunIsShownBesideItsRow_data();
    void commandLineThatWillNotRunIsShownBesideItsRow();
    void testButtonOpensTheTestWindowAndKeepsEdits();
    void reopenedLongTextsShowTheirStart();

private:
    static AlarmSettingsWindow* open(SettingsRig& rig)
    {
        return AlarmSettingsWindow::showOver(rig.services(), rig.owner.get());
    }
};

namespace {

const QString kMaster = QStringLiteral("ENABLE_ALARMS_TICKBOX");
// The note beside a time that never fires, in a 24-hour locale.
const QString kNeverFires = QStringLiteral("Never fires: use HH:MM:SS, e.g. 19:30:00");
// An entry box in the on state, greyed out with the rest of its row while alarms are off.
const QString kGreyedOn = QStringLiteral("disabled/unlocked/window");
// A row switched off, by its own rule or with alarms switched off: every control disabled and clear.
const QString kRowOff = QStringLiteral("tick=0d name=off time=off dm=0d msg=off ac=0d rc=0d rh=0d cmd=off");
// A row that is off while alarms are on: its Auto Close box is as designed, enabled.
const QString kRowOffUnderMaster
    = QStringLiteral("tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off");

QCheckBox* tickbox(const QWidget* window, SlotField field, int slot)
{
    return control<QCheckBox>(window, slotKey(field, slot));
}

QLineEdit* textbox(const QWidget* window, SlotField field, int slot)
{
    return control<QLineEdit>(window, slotKey(field, slot));
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

// "KEY=value KEY=value" as stored values.
QMap<QString, QString> storeOf(const QString& entries)
{
    QMap<QString, QString> values;
    for (const QString& entry : entries.split(u' ', Qt::SkipEmptyParts))
        values.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    return values;
}

} // namespace

void AlarmSettingsWindowTest::emptyStoreOpensWithEveryRowOff()
{
    SettingsRig rig;
    AlarmSettingsWindow* window = open(rig);
    QCOMPARE(window->windowTitle(), QStringLiteral("VQ-DBD - V3 - ALARM SETTINGS"));
    QCOMPARE(window->parentWidget(), rig.owner.get());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(67, 67)); // 1000, 1000, 13680 x 8355 twips
    QCOMPARE(window->size(), QSize(906, 532));
    QCOMPARE(window->focusWidget(), control(window, "OK_BUTTON"));
    QCOMPARE(tickState(*control<QCheckBox>(window, kMaster)), QStringLiteral("0e"));
    QVERIFY(control(window, "TEST_ALARM_WINDOW_BUTTON")->isEnabled());
    const AlarmSlot defaults = defaultSlot();
    for (int n = 1; n <= kSlotCount; ++n) {
        QCOMPARE(rowState(window, n), kRowOff);
        for (const SlotField field :
             { SlotField::Name, SlotField::Time, SlotField::Message, SlotField::Command })
            QCOMPARE(textbox(window, field, n)->text(), storedText(defaults, field));
        auto* number = control<QLineEdit>(window, QStringLiteral("ALARM_NUMBER_%1_TEXTBOX").arg(n));
        QCOMPARE(number->text(), QString::number(n));
        QVERIFY(number->isEnabled() && !number->isReadOnly());
    }
    // Read in its order: the place, the master switch, then each field across the ten rows.
    QStringList expected { "ALARM-SETTINGS-Left", "ALARM-SETTINGS-Top", "ALARM-SETTINGS-Width",
                           "ALARM-SETTINGS-Height", kMaster };
    for (const SlotField field :
         { SlotField::Enabled, SlotField::Name, SlotField::Time, SlotField::ShowMessage, SlotField::Message,
           SlotField::RunCommand, SlotField::Command, SlotField::AutoClose, SlotField::RunHidden }) {
        for (int n = 1; n <= kSlotCount; ++n)
            expected.append(slotKey(field, n));
    }
    QCOMPARE(rig.backend.readLog, expected);
    QVERIFY(rig.backend.writeLog.isEmpty());
    window->close();
}

void AlarmSettingsWindowTest::rowsSitInTwoColumns_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QPoint>("shift"); // twips from row 1
    QTest::newRow("1") << 1 << QPoint(0, 0);
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
    const QString header = slot == 1 ? QStringLiteral("ALARM_XXX_TIME_LABLE")
                                     : QStringLiteral("ALARM_XXX_TIME_LABLE_%1").arg(slot);
    for (const auto& [name, left, top, width, height] : QList<std::tuple<QString, int, int, int, int>> {
             { header, 2400, 600, 495, 255 },
             { slotKey(SlotField::AutoClose, slot), 5520, 600, 1095, 255 },
             { slotKey(SlotField::Enabled, slot), 240, 840, 255, 375 },
             { slotKey(SlotField::Time, slot), 2400, 840, 975, 285 },
             { QStringLiteral("ALARM_NUMBER_%1_TEXTBOX").arg(slot), 120, 1200, 495, 495 },
             { slotKey(SlotField::Command, slot), 720, 1440, 5895, 285 } })
        QCOMPARE(control(window, name)->geometry(),
                 ui::toPixels(left + shift.x(), top + shift.y(), width, height));
    QCOMPARE(textbox(window, SlotField::Time, slot)->maxLength(), 8);
    window->close();
}

void AlarmSettingsWindowTest::rulesGiveEveryControlItsState_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("clicks"); // control names clicked after opening, in order
    QTest::addColumn<QString>("row3");
    QTest::addColumn<QString>("row4");

    QTest::newRow("empty store") << ""
                                 << "" << kRowOff << kRowOff;
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
    // Greyed out: what the row's own rules gave it, disabled.
    QTest::newRow("row stored on under a master stored off is greyed as it stands")
        << "ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1"
        << ""
        << "tick=1d name=" + kGreyedOn + " time=" + kGreyedOn + " dm=1d msg=" + kGreyedOn
            + " ac=0d rc=0d rh=0d cmd=off"
        << kRowOff;
    QTest::newRow("options stored on in a row stored off")
        << "ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 ALARM_3_RUN_COMMAND_TICKBOX=1 RUN_HIDDEN_3_TICKBOX=1"
        << ""
        << "tick=0d name=off time=off dm=1d msg=" + kGreyedOn + " ac=0d rc=1d rh=1d cmd=" + kGreyedOn
        << kRowOff;
    QTest::newRow("options stored on in a row stored off, master stored on")
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 ALARM_3_RUN_COMMAND_TICKBOX=1 "
           "RUN_HIDDEN_3_TICKBOX=1"
        << ""
        << "tick=0e name=off time=off dm=1d msg=on ac=0e rc=1d rh=1e cmd=on" << kRowOffUnderMaster;
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
        << "ENABLE_ALARMS_TICKBOX=1 ALARM_3_NAME_TEXTBOX=Tea ALARM_3_TICKBOX=1 "
           "ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 "
           "ALARM_3_RUN_COMMAND_TICKBOX=1 RUN_HIDDEN_3_TICKBOX=1 ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX=1"
        << "ALARM_3_TICKBOX"
        << "tick=0e name=off time=off dm=0d msg=off ac=0d rc=0d rh=0d cmd=off"
        << "tick=0e name=off time=off dm=0d msg=off ac=0e rc=0d rh=0e cmd=off";
    const QString twoRowsOn = QStringLiteral(
        "ENABLE_ALARMS_TICKBOX=1 ALARM_3_NAME_TEXTBOX=Tea ALARM_3_TICKBOX=1 "
        "ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 "
        "ALARM_3_RUN_COMMAND_TICKBOX=1 RUN_HIDDEN_3_TICKBOX=1 ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX=1 "
        "ALARM_4_TICKBOX=1 ALARM_4_RUN_COMMAND_TICKBOX=1");
    QTest::newRow("clearing the master greys every row and keeps its ticks") << twoRowsOn << kMaster
                                                                             << "tick=1d name=" + kGreyedOn
            + " time=" + kGreyedOn + " dm=1d msg=" + kGreyedOn + " ac=1d rc=1d rh=1d cmd=" + kGreyedOn
                                                                             << "tick=1d name=" + kGreyedOn
            + " time=" + kGreyedOn + " dm=0d msg=off ac=0d rc=1d rh=0d cmd=" + kGreyedOn;
    QTest::newRow("ticking the master again gives every row back")
        << twoRowsOn << "ENABLE_ALARMS_TICKBOX ENABLE_ALARMS_TICKBOX"
        << "tick=1e name=on time=on dm=1e msg=on ac=1e rc=1e rh=1e cmd=on"
        << "tick=1e name=on time=on dm=0e msg=off ac=0e rc=1e rh=0e cmd=on";
    QTest::newRow("row stored on under a master stored off comes back with the master")
        << "ALARM_3_TICKBOX=1 ALARM_3_DISPLAY_MESSAGE_TICKBOX=1"
        << "ENABLE_ALARMS_TICKBOX"
        << "tick=1e name=on time=on dm=1e msg=on ac=0e rc=0e rh=0e cmd=off" << kRowOffUnderMaster;
    QTest::newRow("clicks on disabled boxes do nothing")
        << ""
        << "ALARM_3_TICKBOX ALARM_3_RUN_COMMAND_TICKBOX" << kRowOff << kRowOff;
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
    // No rule touches a text.
    QCOMPARE(textbox(window, SlotField::Name, 3)->text(),
             rig.backend.values.value("ALARM_3_NAME_TEXTBOX", "Alarm Name"));
    window->close();
}

void AlarmSettingsWindowTest::masterSwitchActsAtOnceOnStoreAndChecks()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_2_TICKBOX=1 ALARM_9_TICKBOX=1");
    readLiveState(rig.store, rig.state, kShortestTimeTextLength);
    AlarmSettingsWindow* window = open(rig);
    // Loading the master ticked runs its rule, which stores it again.
    QCOMPARE(rig.backend.writeLog, QStringList { "ENABLE_ALARMS_TICKBOX=1" });

    control<QCheckBox>(window, kMaster)->click();
    QCOMPARE(rig.backend.writeLog.last(), QStringLiteral("ENABLE_ALARMS_TICKBOX=0"));
    QCOMPARE(rig.state.masterSwitch, 0);
    for (int n = 1; n <= kSlotCount; ++n) {
        const bool stored = n == 2 || n == 9;
        QVERIFY(!rig.state.isSlotCheckRunning(n));
        QCOMPARE(tickState(*tickbox(window, SlotField::Enabled, n)),
                 stored ? QStringLiteral("1d") : QStringLiteral("0d"));
        QCOMPARE(tickState(*tickbox(window, SlotField::RunHidden, n)), QStringLiteral("0d"));
    }
    // Ticking it again brings back the rows as stored, and their checks.
    control<QCheckBox>(window, kMaster)->click();
    QCOMPARE(rig.backend.writeLog.last(), QStringLiteral("ENABLE_ALARMS_TICKBOX=1"));
    QCOMPARE(rig.state.masterSwitch, 1);
    for (int n = 1; n <= kSlotCount; ++n) {
        const bool stored = n == 2 || n == 9;
        QCOMPARE(rig.state.isSlotCheckRunning(n), stored);
        QCOMPARE(tickState(*tickbox(window, SlotField::Enabled, n)),
                 stored ? QStringLiteral("1e") : QStringLiteral("0e"));
        QCOMPARE(tickState(*tickbox(window, SlotField::RunHidden, n)), QStringLiteral("0e"));
    }
    // Cleared and closed without OK: the master stays off, the rows stay as stored.
    control<QCheckBox>(window, kMaster)->click();
    window->close();
    QCOMPARE(
        rig.backend.writeLog.mid(3),
        QStringList({ "ENABLE_ALARMS_TICKBOX=0", "ALARM-SETTINGS-Left=1000", "ALARM-SETTINGS-Top=1000" }));
    QCOMPARE(rig.backend.value("ALARM_2_TICKBOX"), QStringLiteral("1"));
}

void AlarmSettingsWindowTest::openingTheWindowSwitchesNoCheck()
{
    // The file was edited by hand while the clock ran: alarms on in it, and off in the clock.
    SettingsRig rig;
    rig.backend.values = storeOf("ALARM_2_TICKBOX=1");
    readLiveState(rig.store, rig.state, kShortestTimeTextLength);
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_2_TICKBOX=1 ALARM_5_TICKBOX=1");
    AlarmSettingsWindow* window = open(rig);
    for (int n = 1; n <= kSlotCount; ++n)
        QVERIFY(!rig.state.isSlotCheckRunning(n));
    QCOMPARE(rig.state.masterSwitch, 0);
    window->close();
}

void AlarmSettingsWindowTest::checksAgreeWithTheStoreAndTheWindowAfterAnyClicks_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("clicks"); // master, rowN: a click on that box; then ok or close
    // Row 3 on with every option and texts of its own.
    const QString row3 = QStringLiteral(
        "ALARM_3_TICKBOX=1 ALARM_3_NAME_TEXTBOX=Tea ALARM_3_TIME_TEXTBOX=16:00:00 "
        "ALARM_3_DISPLAY_MESSAGE_TICKBOX=1 ALARM_3_MESSAGE_TEXTBOX=Brew ALARM_3_RUN_COMMAND_TICKBOX=1 "
        "ALARM_3_RUN_COMMAND_TEXTBOX=kettle RUN_HIDDEN_3_TICKBOX=1 ALARM_3_MESSAGE_AUTO_CLOSE_TICKBOX=1");
    const QString on = QStringLiteral("ENABLE_ALARMS_TICKBOX=1 ") + row3;
    const QString masterOff = QStringLiteral("ENABLE_ALARMS_TICKBOX=0 ") + row3;
    QTest::newRow("master cleared and ticked, close box") << on << "master master close";
    QTest::newRow("master cleared and ticked, OK") << on << "master master ok";
    QTest::newRow("master cleared, close box") << on << "master close";
    QTest::newRow("master cleared, OK") << on << "master ok";
    QTest::newRow("row cleared, close box") << on << "row3 close";
    QTest::newRow("row cleared, OK") << on << "row3 ok";
    QTest::newRow("other row ticked, close box") << on << "row5 close";
    QTest::newRow("other row ticked, OK") << on << "row5 ok";
    QTest::newRow("master twice then row cleared, OK") << on << "master master row3 ok";
    QTest::newRow("master stored off, ticked, close box") << masterOff << "master close";
    QTest::newRow("master stored off, ticked, OK") << masterOff << "master ok";
    QTest::newRow("master stored off, ticked, row ticked, OK") << masterOff << "master row5 ok";
}

void AlarmSettingsWindowTest::checksAgreeWithTheStoreAndTheWindowAfterAnyClicks()
{
    QFETCH(QString, stored);
    QFETCH(QString, clicks);
    SettingsRig rig;
    rig.backend.values = storeOf(stored);
    // As start-up leaves the clock for that store.
    readLiveState(rig.store, rig.state, kShortestTimeTextLength);

    AlarmSettingsWindow* window = open(rig);
    for (const QString& click : clicks.split(u' ')) {
        if (click == QStringLiteral("master"))
            control<QCheckBox>(window, kMaster)->click();
        else if (click.startsWith(QStringLiteral("row")))
            tickbox(window, SlotField::Enabled, click.mid(3).toInt())->click();
        else if (click == QStringLiteral("ok"))
            control<QPushButton>(window, "OK_BUTTON")->click();
        else
            window->close();
    }

    // A row not clicked keeps every stored value, whatever the master switch went through.
    const QMap<QString, QString> before = storeOf(stored);
    for (auto entry = before.begin(); entry != before.end(); ++entry) {
        if (entry.key() != kMaster && !clicks.contains(QStringLiteral("row3")))
            QCOMPARE(rig.backend.value(entry.key()), entry.value());
    }
    const bool masterOn = rig.backend.value(kMaster) == QStringLiteral("1");
    const auto rowOn = [&](int n) {
        return rig.backend.value(slotKey(SlotField::Enabled, n)) == QStringLiteral("1");
    };
    for (int n = 1; n <= kSlotCount; ++n)
        QVERIFY2(rig.state.isSlotCheckRunning(n) == (masterOn && rowOn(n)), qPrintable(QString::number(n)));
    // Every field that the checks fire with is the stored one, and a window opened again shows it.
    window = open(rig);
    QCOMPARE(ui::switchValue(*control<QCheckBox>(window, kMaster)), masterOn ? 1 : 0);
    const AlarmSlot defaults = defaultSlot();
    for (int n = 1; n <= kSlotCount; ++n) {
        for (const SlotFieldInfo& info : kSlotFields) {
            const QString key = slotKey(info.field, n);
            const QString live = storedText(rig.state.slot(n), info.field);
            QCOMPARE(live, rig.backend.values.value(key, storedText(defaults, info.field)));
            QCOMPARE(live,
                     info.isSwitch() ? QString::number(ui::switchValue(*control<QCheckBox>(window, key)))
                                     : control<QLineEdit>(window, key)->text());
        }
    }
    window->close();
}

void AlarmSettingsWindowTest::okSavesEveryKeyInItsOrder()
{
    SettingsRig rig;
    AlarmSettingsWindow* window = open(rig);
    control<QPushButton>(window, "OK_BUTTON")->click();
    QStringList expected { "ALARM-SETTINGS-Left=1000", "ALARM-SETTINGS-Top=1000", "ENABLE_ALARMS_TICKBOX=0" };
    const AlarmSlot defaults = defaultSlot();
    const auto add = [&](SlotField field, int n) {
        expected.append(slotKey(field, n) + u'=' + storedText(defaults, field));
    };
    for (int n = 1; n <= kSlotCount; ++n) {
        for (const SlotField field : { SlotField::Enabled, SlotField::Name, SlotField::Time,
                                       SlotField::Message, SlotField::RunCommand, SlotField::Command })
            add(field, n);
    }
    for (const SlotField field : { SlotField::ShowMessage, SlotField::AutoClose, SlotField::RunHidden }) {
        for (int n = 1; n <= kSlotCount; ++n)
            add(field, n);
    }
    // The closing's place joins the OK's keys: the store is written once, in the order above.
    QCOMPARE(rig.backend.writeLog, expected);
    QCOMPARE(rig.backend.commits, 1);
    QCOMPARE(openWindows(), QStringList { "OWNER" });
}

void AlarmSettingsWindowTest::okReplacesTheLiveSlotsAndSwitchesTheChecks()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_5_TICKBOX=1");
    rig.state.masterSwitch = 1;
    rig.state.slot(5).enabled = 1;
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
    control<QPushButton>(window, "OK_BUTTON")->click();

    const AlarmSlot expected { 1, "Wake up", "07:30:00", 1, "Rise", 1, "radio --on", 1, 1 };
    QCOMPARE(rig.state.slot(2), expected);
    QCOMPARE(rig.state.slot(5), defaultSlot());
    QVERIFY(rig.state.isSlotCheckRunning(2));
    QVERIFY(!rig.state.isSlotCheckRunning(5));
    for (const SlotFieldInfo& info : kSlotFields)
        QCOMPARE(rig.backend.value(slotKey(info.field, 2)), storedText(expected, info.field));
}

void AlarmSettingsWindowTest::okStartsARowsCheckOnlyUnderATickedMasterSwitch()
{
    // A row left on under a master switch cleared in an opening that ended without OK.
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=0 ALARM_4_TICKBOX=1");
    AlarmSettingsWindow* window = open(rig);
    control<QPushButton>(window, "OK_BUTTON")->click();
    QCOMPARE(rig.state.slot(4).enabled, 1);
    QCOMPARE(rig.backend.value("ALARM_4_TICKBOX"), QStringLiteral("1"));
    QVERIFY(!rig.state.isSlotCheckRunning(4)); // no alarm fires while the window says alarms are off
}

void AlarmSettingsWindowTest::okSavesTextsExactlyAsTheyStand()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_1_TICKBOX=1");
    AlarmSettingsWindow* window = open(rig);
    textbox(window, SlotField::Name, 1)->clear();
    textbox(window, SlotField::Time, 1)->setText(QStringLiteral(" 7:30 "));
    control<QPushButton>(window, "OK_BUTTON")->click();
    QCOMPARE(rig.backend.values.value("ALARM_1_NAME_TEXTBOX", "absent"), QString());
    QCOMPARE(rig.backend.value("ALARM_1_TIME_TEXTBOX"), QStringLiteral(" 7:30 "));
    QCOMPARE(rig.state.slot(1).time, QStringLiteral(" 7:30 "));
    window = open(rig); // the empty name comes back empty, not as the default
    QCOMPARE(textbox(window, SlotField::Name, 1)->text(), QString());
    window->close();
}

void AlarmSettingsWindowTest::closeBoxSavesOnlyThePlace()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_6_TICKBOX=1");
    rig.state.masterSwitch = 1;
    rig.state.slot(6).enabled = 1;
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
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed"); // then typed over it; empty: nothing typed
    QTest::addColumn<QString>("warning"); // empty: none shown
    const QString ticked = QStringLiteral("ENABLE_ALARMS_TICKBOX=1 ALARM_8_TICKBOX=1 ALARM_8_TIME_TEXTBOX=");
    const QString never = kNeverFires;
    const auto row = [](const char* name, const char* locale, const QString& stored, const QString& typed,
                        const QString& warning) {
        QTest::newRow(name) << QByteArray(locale) << stored << typed << warning;
    };
    row("clock form", "C.UTF-8", ticked + "07:30:00", "", "");
    row("stored short", "C.UTF-8", ticked + "7:30", "", never);
    row("stored placeholder", "C.UTF-8", ticked + "HH:MM:SS", "", never);
    row("stored empty", "C.UTF-8", ticked, "", never);
    row("typed short", "C.UTF-8", ticked + "07:30:00", "16:5", never);
    row("typed hour 25", "C.UTF-8", ticked + "07:30:00", "25:00:00", never);
    row("typed minute 60", "C.UTF-8", ticked + "07:30:00", "12:60:00", never);
    row("typed a word", "C.UTF-8", ticked + "07:30:00", "noon", never);
    row("typed right", "C.UTF-8", ticked + "7:30", "16:05:00", "");
    row("row off", "C.UTF-8", "ENABLE_ALARMS_TICKBOX=1 ALARM_8_TIME_TEXTBOX=7:30", "", "");
    row("row on under a master off", "C.UTF-8", "ALARM_8_TICKBOX=1 ALARM_8_TIME_TEXTBOX=7:30", "", never);
    row("en_US: HH:mm:ss", "en_US.UTF-8", ticked + "07:30:00", "19:30:00", "");
    row("en_US: its own text", "en_US.UTF-8", ticked + "07:30:00", "07:30:00 PM", "");
    row("en_US: one-digit hour", "en_US.UTF-8", ticked + "07:30:00", "7:30:00 PM",
        never + ", or the clock's own 07:30:00 PM");
    row("ja_JP: its own words", "ja_JP.UTF-8", ticked + "07:30:00", "19時30分", never);
}

void AlarmSettingsWindowTest::timeThatCanNeverFireIsShownBesideItsBox()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, warning);
    QVERIFY(provideLocales().isEmpty());
    SettingsRig rig(locale);
    rig.backend.values = storeOf(stored);
    AlarmSettingsWindow* window = open(rig);
    auto* time = textbox(window, SlotField::Time, 8);
    if (!typed.isEmpty()) {
        // Typed over the whole text (insert() types what key clicks cannot), and taken whole.
        time->selectAll();
        time->insert(typed);
        QCOMPARE(time->text(), typed);
    }
    // The note is in the tip whole and seen whole, in two lines if it needs them, beside the time box
    // in the row's free space right of Run Hidden, between the message and command boxes.
    auto* label = control<QLabel>(window, "ALARM_8_NOTE_LABEL");
    QCOMPARE(label->isVisible() ? label->toolTip() : QString(), warning);
    QCOMPARE(time->toolTip(), warning);
    QCOMPARE(QString(label->text()).replace(u'\n', u' '), warning);
    QVERIFY(label->sizeHint().width() <= label->width() && label->sizeHint().height() <= label->height());
    QVERIFY(label->font().pixelSize() >= 7);
    QCOMPARE(label->geometry(), ui::toPixels(3660 + 6840, 1140 + 2 * 1320, 3090, 300));
    // It tells and asks nothing: OK closes and saves the time exactly as it stands.
    const QString text = time->text();
    control<QPushButton>(window, "OK_BUTTON")->click();
    QCOMPARE(openWindows(), QStringList { "OWNER" });
    QCOMPARE(rig.backend.value("ALARM_8_TIME_TEXTBOX"), text);
    QVERIFY(rig.notice.texts.isEmpty());
}

void AlarmSettingsWindowTest::commandLineThatWillNotRunIsShownBesideItsRow_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("note"); // empty: none shown
    const QString on
        = QStringLiteral("ENABLE_ALARMS_TICKBOX=1 ALARM_8_TICKBOX=1 ALARM_8_RUN_COMMAND_TICKBOX=1");
    const QString refused = QStringLiteral("Will not run: it uses the shell's special parameter \"%1\"");
    QTest::newRow("variables") << on << "echo $HOME ${USER}"
                               << "";
    for (const char* parameter : { "$$", "$1", "$?", "$#", "$!" })
        QTest::newRow(parameter) << on << QStringLiteral("echo %1").arg(parameter) << refused.arg(parameter);
    QTest::newRow("and a time that never fires") << on + " ALARM_8_TIME_TEXTBOX=7:30"
                                                 << "kill $!" << kNeverFires + "; " + refused.arg("$!");
    QTest::newRow("run command clear") << "ENABLE_ALARMS_TICKBOX=1 ALARM_8_TICKBOX=1"
                                       << "kill $$"
                                       << "";
}

void AlarmSettingsWindowTest::commandLineThatWillNotRunIsShownBesideItsRow()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, note);
    SettingsRig rig;
    rig.backend.values = storeOf(stored);
    AlarmSettingsWindow* window = open(rig);
    auto* command = textbox(window, SlotField::Command, 8);
    command->setText(QString());
    QTest::keyClicks(command, typed); // a disabled box takes no keys
    if (!command->isEnabled())
        command->setText(typed);
    auto* label = control<QLabel>(window, "ALARM_8_NOTE_LABEL");
    QCOMPARE(label->isVisible() ? label->toolTip().left(note.size()) : QString(), note);
    QCOMPARE(note.isEmpty(), !label->isVisible());
    QVERIFY(note.isEmpty() || command->toolTip().startsWith(QStringLiteral("Will not run: ")));
    window->close();
}

void AlarmSettingsWindowTest::testButtonOpensTheTestWindowAndKeepsEdits()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_2_TICKBOX=1");
    AlarmSettingsWindow* window = open(rig);
    textbox(window, SlotField::Name, 2)->setText(QStringLiteral("Unapplied"));
    control<QPushButton>(window, "TEST_ALARM_WINDOW_BUTTON")->click();
    auto* test
        = window->findChild<QWidget*>("VQ_DBD_ALARM_TEST_NOTIFICATION_WINDOW", Qt::FindDirectChildrenOnly);
    QVERIFY(test && test->isWindow() && test->isVisible());
    QCOMPARE(test->windowModality(), Qt::ApplicationModal);
    test->close();
    QCOMPARE(openWindows(), QStringList({ "OWNER", "VQ_DBD_ALARM_SETTINGS" }));
    QCOMPARE(textbox(window, SlotField::Name, 2)->text(), QStringLiteral("Unapplied"));
    QCOMPARE(rig.state.slot(2).name, QStringLiteral("Alarm Name"));
    window->close();
}

void AlarmSettingsWindowTest::reopenedLongTextsShowTheirStart()
{
    SettingsRig rig;
    rig.backend.values = storeOf("ENABLE_ALARMS_TICKBOX=1 ALARM_3_TICKBOX=1");
    QString words;
    for (int i = 1; words.size() < 180; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    const QList<std::pair<SlotField, QString>> texts {
        { SlotField::Name, QStringLiteral("Morning alarm for the early train to the city") },
        { SlotField::Message, words + QStringLiteral("END") },
        { SlotField::Command, QStringLiteral("sh -c 'echo ") + words + QStringLiteral("> alarm.log'") },
    };
    for (const auto& [field, text] : texts) {
        rig.backend.values.insert(slotKey(field, 3), text);
        rig.backend.values.insert(slotKey(SlotField::ShowMessage, 3), QStringLiteral("1"));
        rig.backend.values.insert(slotKey(SlotField::RunCommand, 3), QStringLiteral("1"));
    }
    AlarmSettingsWindow* window = open(rig);
    for (const auto& [field, text] : texts) {
        QLineEdit* box = textbox(window, field, 3);
        QCOMPARE(box->text(), text);
        QVERIFY2(box->fontMetrics().horizontalAdvance(text) > box->width(), qPrintable(box->objectName()));
        QCOMPARE(box->cursorPosition(), 0);
    }
    // What the user types goes where the user puts the cursor, and the cursor stays there.
    QLineEdit* name = textbox(window, SlotField::Name, 3);
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClicks(name, QStringLiteral("!"));
    QCOMPARE(name->text(), texts.at(0).second + u'!');
    QCOMPARE(name->cursorPosition(), name->text().size());
    window->close();
}

QTEST_MAIN(AlarmSettingsWindowTest)
#include "tst_alarm_settings_window.moc"

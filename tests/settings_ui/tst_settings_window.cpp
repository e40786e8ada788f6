#include "SettingsRig.h"
#include "settings_ui/SettingsWindow.h"
#include "ui/Design.h"

#include <QPushButton>

using namespace vqdbd;
using namespace vqdbd::test;

class SettingsWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void opensAsTheDesignedHubOverItsOwner();
    void tabOrderStartsAtOkAndTheBoxesBelowAreHidden();
    void openingShowsWhatTheClockDoesAndChangesNothing_data();
    void openingShowsWhatTheClockDoesAndChangesNothing();
    void storedSwitchOtherThanOneStopsTheCheckAtOpening_data();
    void storedSwitchOtherThanOneStopsTheCheckAtOpening();
    void alwaysOnTopBoxSwitchesTheCheckAndStoresAtOnce();
    void okStoresPlaceThenSwitchAndCloses();
    void closeBoxStoresNothing();
    void creatorClickShowsTheContactAddressUntilReopened();
    void hiddenBoxesHaveNoBehaviour();
    void buttonsOpenTheirWindowsOverThisOne_data();
    void buttonsOpenTheirWindowsOverThisOne();

private:
    static SettingsWindow* open(SettingsRig& rig)
    {
        return SettingsWindow::showOver(rig.services(), rig.owner.get());
    }
};

namespace {

QCheckBox* alwaysOnTop(const QWidget* window)
{
    return control<QCheckBox>(window, QStringLiteral("AlwaysOnTop_TICKBOX"));
}

// The controls the Tab key visits, from the focused one round to it again.
QStringList tabOrder(QWidget* first)
{
    QStringList names { first->objectName() };
    for (QWidget* widget = first->nextInFocusChain(); widget != first; widget = widget->nextInFocusChain()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible() && widget->isEnabled())
            names.append(widget->objectName());
    }
    return names;
}

} // namespace

void SettingsWindowTest::cleanup()
{
    QVERIFY2(openWindows().isEmpty(), qPrintable(openWindows().join(u' ')));
}

void SettingsWindowTest::opensAsTheDesignedHubOverItsOwner()
{
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    QCOMPARE(window->objectName(), QStringLiteral("VQ_DBD_SETTINGS"));
    QCOMPARE(window->windowTitle(), QStringLiteral("VQ - DBD - V3 - SETTINGS"));
    QCOMPARE(window->parentWidget(), rig.owner.get());
    QVERIFY(window->isWindow());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(67, 67)); // 1000 twips
    QCOMPARE(window->size(), QSize(567, 142)); // 8505 x 2130 twips
    QCOMPARE(window->minimumSize(), window->maximumSize());

    const QList<std::pair<QString, QString>> captions {
        { "VQ_DBD_TITLE_1", "VELA-QUILL" },
        { "VQ_DBD_TITLE_2", "DRUM-BEAT-DIAL" },
        { "VQ_DBD_TITLE_3", "VQ-DBD" },
        { "VQ_DBD_VERSION", "Version 3.1" },
        { "VQ_DBD_CREATOR", "Created By VELA-QUILL" },
    };
    for (const auto& [name, caption] : captions)
        QCOMPARE(control<QLabel>(window, name)->text(), caption);
    QCOMPARE(control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->text(), QStringLiteral("OK"));
    QCOMPARE(control<QPushButton>(window, QStringLiteral("ALARM_SETTINGS_BUTTON"))->text(),
             QStringLiteral("Alarm Settings"));
    QCOMPARE(control<QPushButton>(window, QStringLiteral("COLORS_BUTTON"))->text(),
             QStringLiteral("Clock Colors"));
    QCOMPARE(alwaysOnTop(window)->text(), QStringLiteral("Always On Top"));
    QCOMPARE(rig.backend.readLog,
             QStringList({ "MAIN-SETTINGS-Left", "MAIN-SETTINGS-Top", "MAIN-SETTINGS-Width",
                           "MAIN-SETTINGS-Height", "AlwaysOnTop_TICKBOX" }));
    window->close();
}

void SettingsWindowTest::tabOrderStartsAtOkAndTheBoxesBelowAreHidden()
{
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    QCOMPARE(window->focusWidget(), control(window, QStringLiteral("OK_BUTTON")));
    QCOMPARE(tabOrder(window->focusWidget()),
             QStringList({ "OK_BUTTON", "AlwaysOnTop_TICKBOX", "ALARM_SETTINGS_BUTTON", "COLORS_BUTTON" }));
    QVERIFY(!control(window, QStringLiteral("ENABLE_ALARMS_TICKBOX"))->isVisible());
    auto* taskbar = control<QCheckBox>(window, QStringLiteral("SHOW_IN_TASKBAR_TICKBOX"));
    QVERIFY(!taskbar->isVisible());
    QVERIFY(!taskbar->isEnabled());
    QCOMPARE(taskbar->text(), QStringLiteral("Show Drum-Beat-Dial In The Taskbar"));
    window->close();
}

void SettingsWindowTest::openingShowsWhatTheClockDoesAndChangesNothing_data()
{
    QTest::addColumn<QString>("stored"); // empty: nothing stored
    QTest::newRow("first run") << QString();
    QTest::newRow("stored on") << "1";
}

void SettingsWindowTest::openingShowsWhatTheClockDoesAndChangesNothing()
{
    QFETCH(QString, stored);
    SettingsRig rig;
    if (!stored.isEmpty())
        rig.backend.values.insert(QStringLiteral("AlwaysOnTop_TICKBOX"), stored);
    rig.state.setAlwaysOnTopCheckRunning(true);
    SettingsWindow* window = open(rig);
    QCOMPARE(ui::switchValue(*alwaysOnTop(window)), 1);
    QVERIFY(rig.state.isAlwaysOnTopCheckRunning());
    QVERIFY(rig.backend.writeLog.isEmpty());
    window->close();
}

void SettingsWindowTest::storedSwitchOtherThanOneStopsTheCheckAtOpening_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("0") << "0";
    QTest::newRow("greyed 2") << "2";
}

void SettingsWindowTest::storedSwitchOtherThanOneStopsTheCheckAtOpening()
{
    QFETCH(QString, stored);
    SettingsRig rig;
    rig.backend.values.insert(QStringLiteral("AlwaysOnTop_TICKBOX"), stored);
    rig.state.setAlwaysOnTopCheckRunning(true);
    SettingsWindow* window = open(rig);
    QCOMPARE(QString::number(ui::switchValue(*alwaysOnTop(window))), stored);
    QVERIFY(!rig.state.isAlwaysOnTopCheckRunning());
    QCOMPARE(rig.backend.writeLog, QStringList { "AlwaysOnTop_TICKBOX=" + stored });
    window->close();
}

void SettingsWindowTest::alwaysOnTopBoxSwitchesTheCheckAndStoresAtOnce()
{
    SettingsRig rig;
    rig.state.setAlwaysOnTopCheckRunning(true);
    SettingsWindow* window = open(rig);
    alwaysOnTop(window)->click();
    QVERIFY(!rig.state.isAlwaysOnTopCheckRunning());
    QCOMPARE(rig.backend.writeLog, QStringList { "AlwaysOnTop_TICKBOX=0" });
    alwaysOnTop(window)->click();
    QVERIFY(rig.state.isAlwaysOnTopCheckRunning());
    QCOMPARE(rig.backend.writeLog, QStringList({ "AlwaysOnTop_TICKBOX=0", "AlwaysOnTop_TICKBOX=1" }));
    QCOMPARE(rig.state.alwaysOnTopSwitch, 1); // the live switch stays as start-up read it
    window->close();
}

void SettingsWindowTest::okStoresPlaceThenSwitchAndCloses()
{
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    window->move(30, 40);
    alwaysOnTop(window)->click();
    rig.backend.writeLog.clear();
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();
    QCOMPARE(rig.backend.writeLog,
             QStringList({ "MAIN-SETTINGS-Left=450", "MAIN-SETTINGS-Top=600", "AlwaysOnTop_TICKBOX=0" }));
    QCOMPARE(openWindows(), QStringList { QStringLiteral("OWNER") });

    // The next opening comes up where OK left it.
    window = open(rig);
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(30, 40));
    window->close();
}

void SettingsWindowTest::closeBoxStoresNothing()
{
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    window->move(30, 40);
    window->close();
    QCOMPARE(openWindows(), QStringList { QStringLiteral("OWNER") });
    QVERIFY(rig.backend.writeLog.isEmpty());
}

void SettingsWindowTest::creatorClickShowsTheContactAddressUntilReopened()
{
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    auto* creator = control<QLabel>(window, QStringLiteral("VQ_DBD_CREATOR"));
    QTest::mousePress(creator, Qt::LeftButton);
    QCOMPARE(creator->text(), QStringLiteral("Created By VELA-QUILL")); // a click ends with the release
    QTest::mouseRelease(creator, Qt::LeftButton);
    QCOMPARE(creator->text(), SettingsWindow::kContactAddress);
    QVERIFY(SettingsWindow::kContactAddress.contains(u'@'));
    QVERIFY(rig.backend.writeLog.isEmpty());
    window->close();

    window = open(rig);
    QCOMPARE(control<QLabel>(window, QStringLiteral("VQ_DBD_CREATOR"))->text(),
             QStringLiteral("Created By VELA-QUILL"));
    window->close();
}

void SettingsWindowTest::hiddenBoxesHaveNoBehaviour()
{
    SettingsRig rig;
    rig.state.setAlwaysOnTopCheckRunning(true);
    SettingsWindow* window = open(rig);
    control<QCheckBox>(window, QStringLiteral("ENABLE_ALARMS_TICKBOX"))->setChecked(true);
    control<QCheckBox>(window, QStringLiteral("SHOW_IN_TASKBAR_TICKBOX"))->setChecked(true);
    QVERIFY(rig.backend.writeLog.isEmpty());
    QCOMPARE(rig.state.masterSwitch, 0);
    QVERIFY(rig.state.isAlwaysOnTopCheckRunning());
    QVERIFY(rig.windows.calls.isEmpty());
    window->close();
}

void SettingsWindowTest::buttonsOpenTheirWindowsOverThisOne_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("opened");
    QTest::newRow("clock colours") << "COLORS_BUTTON"
                                   << "VQ_DBD_COLORS_WINDOW";
    QTest::newRow("alarm settings") << "ALARM_SETTINGS_BUTTON"
                                    << "VQ_DBD_ALARM_SETTINGS";
}

void SettingsWindowTest::buttonsOpenTheirWindowsOverThisOne()
{
    QFETCH(QString, button);
    QFETCH(QString, opened);
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    control<QPushButton>(window, button)->click();
    auto* child = window->findChild<QWidget*>(opened, Qt::FindDirectChildrenOnly);
    QVERIFY(child);
    QVERIFY(child->isWindow());
    QVERIFY(child->isVisible());
    QCOMPARE(child->windowModality(), Qt::ApplicationModal);
    child->close();
    QCOMPARE(openWindows(), QStringList({ "OWNER", "VQ_DBD_SETTINGS" }));
    window->close();
}

QTEST_MAIN(SettingsWindowTest)
#include "tst_settings_window.moc"

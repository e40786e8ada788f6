// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsRig.h"
#include "settings_ui/SettingsWindow.h"

#include <QPushButton>

using namespace vqdbd;
using namespace vqdbd::test;

class SettingsWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QVERIFY2(openWindows().isEmpty(), qPrintable(openWindows().join(u' '))); }
    void opensAsTheDesignedHubWithOkFocused();
    void openingShowsWhatTheClockDoes_data();
    void openingShowsWhatTheClockDoes();
    void alwaysOnTopBoxSwitchesTheCheckAndStoresAtOnce();
    void okStoresPlaceThenSwitchAndTheCloseBoxNothing();
    void creatorClickShowsTheContactAddressUntilReopened();
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
    return control<QCheckBox>(window, "AlwaysOnTop_TICKBOX");
}

} // namespace

void SettingsWindowTest::opensAsTheDesignedHubWithOkFocused()
{
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    QCOMPARE(window->objectName(), QStringLiteral("VQ_DBD_SETTINGS"));
    QCOMPARE(window->windowTitle(), QStringLiteral("VQ - DBD - V3 - SETTINGS"));
    QCOMPARE(window->parentWidget(), rig.owner.get());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(67, 67)); // 1000, 1000, 8505 x 2130 twips
    QCOMPARE(window->size(), QSize(561, 117));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    for (const auto& [name, caption] :
         QList<std::pair<QString, QString>> { { "VQ_DBD_TITLE_1", "VELA-QUILL" },
                                              { "VQ_DBD_TITLE_2", "DRUM-BEAT-DIAL" },
                                              { "VQ_DBD_TITLE_3", "VQ-DBD" },
                                              { "VQ_DBD_VERSION", "Version 3.1" },
                                              { "VQ_DBD_CREATOR", "Created By VELA-QUILL" } })
        QCOMPARE(control<QLabel>(window, name)->text(), caption);
    QStringList tabOrder;
    QWidget* first = window->focusWidget();
    QWidget* widget = first;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisible())
            tabOrder << widget->objectName() + u'=' + widget->property("text").toString();
        widget = widget->nextInFocusChain();
    } while (widget != first);
    QCOMPARE(tabOrder,
             QStringList({ "OK_BUTTON=OK", "AlwaysOnTop_TICKBOX=Always On Top",
                           "ALARM_SETTINGS_BUTTON=Alarm Settings", "COLORS_BUTTON=Clock Colors" }));
    QVERIFY(!control(window, "ENABLE_ALARMS_TICKBOX")->isVisible());
    QVERIFY(!control(window, "SHOW_IN_TASKBAR_TICKBOX")->isVisible());
    QVERIFY(!control(window, "SHOW_IN_TASKBAR_TICKBOX")->isEnabled());
    // The hidden boxes have no behaviour.
    control<QCheckBox>(window, "ENABLE_ALARMS_TICKBOX")->setChecked(true);
    control<QCheckBox>(window, "SHOW_IN_TASKBAR_TICKBOX")->setChecked(true);
    QCOMPARE(rig.backend.readLog,
             QStringList({ "MAIN-SETTINGS-Left", "MAIN-SETTINGS-Top", "MAIN-SETTINGS-Width",
                           "MAIN-SETTINGS-Height", "AlwaysOnTop_TICKBOX" }));
    QVERIFY(rig.backend.writeLog.isEmpty());
    QCOMPARE(rig.state.masterSwitch, 0);
    window->close();
}

void SettingsWindowTest::openingShowsWhatTheClockDoes_data()
{
    QTest::addColumn<QString>("stored"); // empty: nothing stored
    QTest::addColumn<int>("box");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("first run changes nothing") << QString() << 1 << QStringList();
    QTest::newRow("stored on changes nothing") << "1" << 1 << QStringList();
    QTest::newRow("stored off stops the check") << "0" << 0 << QStringList { "AlwaysOnTop_TICKBOX=0" };
    QTest::newRow("greyed stops the check") << "2" << 2 << QStringList { "AlwaysOnTop_TICKBOX=2" };
}

void SettingsWindowTest::openingShowsWhatTheClockDoes()
{
    QFETCH(QString, stored);
    QFETCH(int, box);
    QFETCH(QStringList, written);
    SettingsRig rig;
    if (!stored.isEmpty())
        rig.backend.values.insert("AlwaysOnTop_TICKBOX", stored);
    rig.state.setAlwaysOnTopCheckRunning(true);
    SettingsWindow* window = open(rig);
    QCOMPARE(ui::switchValue(*alwaysOnTop(window)), box);
    QCOMPARE(rig.state.isAlwaysOnTopCheckRunning(), box == 1);
    QCOMPARE(rig.backend.writeLog, written);
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
    window->close();
}

void SettingsWindowTest::okStoresPlaceThenSwitchAndTheCloseBoxNothing()
{
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    window->move(30, 40);
    window->close();
    QVERIFY(rig.backend.writeLog.isEmpty());

    window = open(rig);
    window->move(30, 40);
    control<QPushButton>(window, "OK_BUTTON")->click();
    QCOMPARE(rig.backend.writeLog,
             QStringList({ "MAIN-SETTINGS-Left=450", "MAIN-SETTINGS-Top=600", "AlwaysOnTop_TICKBOX=1" }));
    QCOMPARE(rig.backend.commits, 1);
    QCOMPARE(openWindows(), QStringList { "OWNER" });
    window = open(rig);
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(30, 40));
    window->close();
}

void SettingsWindowTest::creatorClickShowsTheContactAddressUntilReopened()
{
    SettingsRig rig;
    SettingsWindow* window = open(rig);
    auto* creator = control<QLabel>(window, "VQ_DBD_CREATOR");
    QTest::mousePress(creator, Qt::LeftButton);
    QCOMPARE(creator->text(), QStringLiteral("Created By VELA-QUILL")); // a click ends with the release
    QTest::mouseRelease(creator, Qt::LeftButton);
    QCOMPARE(creator->text(), SettingsWindow::kContactAddress);
    QVERIFY(SettingsWindow::kContactAddress.contains(u'@'));
    window->close();
    window = open(rig);
    QCOMPARE(control<QLabel>(window, "VQ_DBD_CREATOR")->text(), QStringLiteral("Created By VELA-QUILL"));
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
    QVERIFY(child && child->isWindow() && child->isVisible());
    QCOMPARE(child->windowModality(), Qt::ApplicationModal);
    child->close();
    QCOMPARE(openWindows(), QStringList({ "OWNER", "VQ_DBD_SETTINGS" }));
    window->close();
}

QTEST_MAIN(SettingsWindowTest)
#include "tst_settings_window.moc"

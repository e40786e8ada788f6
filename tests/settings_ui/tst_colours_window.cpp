#include "SettingsRig.h"
#include "settings_ui/ColoursWindow.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/Twips.h"

#include <QPushButton>

using namespace vqdbd;
using namespace vqdbd::test;

class ColoursWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    void emptyStoreOpensWithTheManualSectionHiddenAndOff();
    void presetRecoloursTheClockAtOnceAndStoresNothing_data();
    void presetRecoloursTheClockAtOnceAndStoresNothing();
    void okStoresTheClockColoursInItsOrder();
    void closeBoxStoresOnlyThePlaceAndLeavesThePresetOnTheClock();
    void okStoresTheMovedPlace();
    void storedManualColourDecidesAtOk_data();
    void storedManualColourDecidesAtOk();
    void entryLooksFollowTheStoredTickboxes_data();
    void entryLooksFollowTheStoredTickboxes();
    void previewFollowsEveryChangeOfItsEntry();
    void systemColoursTakeThePalettesColours_data();
    void systemColoursTakeThePalettesColours();

private:
    static ColoursWindow* open(SettingsRig& rig)
    {
        return ColoursWindow::showOver(rig.services(), rig.owner.get());
    }
};

namespace {

QColor background(const QWidget& widget)
{
    return widget.palette().color(QPalette::Base);
}

bool entryIsOn(const QLineEdit& box)
{
    return box.isEnabled() && !box.isReadOnly() && background(box) == ui::toQColor(ui::kWindowBackground);
}

bool entryIsOff(const QLineEdit& box)
{
    return !box.isEnabled() && box.isReadOnly() && background(box) == ui::toQColor(ui::kLightGrey);
}

constexpr qint32 kUnusedColour = 0x00123456;

} // namespace

void ColoursWindowTest::cleanup()
{
    QVERIFY2(openWindows().isEmpty(), qPrintable(openWindows().join(u' ')));
}

void ColoursWindowTest::emptyStoreOpensWithTheManualSectionHiddenAndOff()
{
    SettingsRig rig;
    ColoursWindow* window = open(rig);
    QCOMPARE(window->windowTitle(), QStringLiteral("VQ-DBD - V3 - SET CLOCK COLORS"));
    QCOMPARE(window->objectName(), QStringLiteral("VQ_DBD_COLORS_WINDOW"));
    QCOMPARE(window->parentWidget(), rig.owner.get());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QVERIFY(window->isWindow());
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(67, 67)); // 1000 twips
    QCOMPARE(window->size(), QSize(616, 238)); // 9240 x 3570 twips
    QCOMPARE(window->focusWidget(), control(window, QStringLiteral("OK_BUTTON")));
    QCOMPARE(control<QLabel>(window, QStringLiteral("VQ_DRUM_BEAT_DIAL_TITLE"))->text(),
             QStringLiteral("VELA-QUILL - DRUM-BEAT-DIAL"));
    QCOMPARE(control<QLabel>(window, QStringLiteral("SET_TEXT_COLOR_LABEL"))->text(),
             QStringLiteral("Set TEXT Color"));
    QCOMPARE(control<QLabel>(window, QStringLiteral("SET_BACKGROUND_COLOR_LABEL"))->text(),
             QStringLiteral("Set BACKGROUND Color"));

    for (const char* name :
         { "MANUAL_TEXT_COLOR_TICKBOX", "MANUAL_BACKGROUND_COLOR_TICKBOX", "ENTER_TEXT_COLOR_TEXTBOX",
           "ENTER_BACKGROUND_COLOR_TEXTBOX", "SHOW_TEXT_COLOR_TEXTBOX", "SHOW_BACKGROUND_COLOR_TEXTBOX" })
        QVERIFY2(!control(window, QString::fromLatin1(name))->isVisible(), name);
    QCOMPARE(ui::switchValue(*control<QCheckBox>(window, QStringLiteral("MANUAL_TEXT_COLOR_TICKBOX"))), 0);
    QCOMPARE(ui::switchValue(*control<QCheckBox>(window, QStringLiteral("MANUAL_BACKGROUND_COLOR_TICKBOX"))),
             0);
    auto* textEntry = control<QLineEdit>(window, QStringLiteral("ENTER_TEXT_COLOR_TEXTBOX"));
    auto* backgroundEntry = control<QLineEdit>(window, QStringLiteral("ENTER_BACKGROUND_COLOR_TEXTBOX"));
    QCOMPARE(textEntry->text(), QStringLiteral("&H0000FF00&"));
    QCOMPARE(backgroundEntry->text(), QStringLiteral("&H00000000&"));
    QVERIFY(entryIsOff(*textEntry));
    QVERIFY(entryIsOff(*backgroundEntry));
    // The background preview only follows a change of its entry, and loading the default changes nothing.
    QCOMPARE(background(*control(window, QStringLiteral("SHOW_BACKGROUND_COLOR_TEXTBOX"))),
             QColor(0, 255, 0));
    QCOMPARE(
        rig.backend.readLog,
        QStringList({ "COLORS-WINDOW-Left", "COLORS-WINDOW-Top", "COLORS-WINDOW-Width",
                      "COLORS-WINDOW-Height", "MANUAL_TEXT_COLOR_TICKBOX", "MANUAL_BACKGROUND_COLOR_TICKBOX",
                      "ENTER_TEXT_COLOR_TEXTBOX", "ENTER_BACKGROUND_COLOR_TEXTBOX" }));
    QVERIFY(rig.backend.writeLog.isEmpty());
    window->close();
}

void ColoursWindowTest::presetRecoloursTheClockAtOnceAndStoresNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QPoint>("place"); // twips
    QTest::addColumn<bool>("forText");
    const auto row = [](const char* name, int value, int left, int top, bool forText) {
        QTest::newRow(name) << QString::fromLatin1(name) << value << QPoint(left, top) << forText;
    };
    row("BLACK_FOREGROUND_COLOR_BUTTON", 0, 240, 1080, true);
    row("WHITE_FOREGROUND_COLOR_BUTTON", 16777215, 1080, 1080, true);
    row("RED_FOREGROUND_COLOR_BUTTON", 255, 1920, 1080, true);
    row("YELLOW_FOREGROUND_COLOR_BUTTON", 65535, 2760, 1080, true);
    row("ORANGE_FOREGROUND_COLOR_BUTTON", 33023, 3600, 1080, true);
    row("GREEN_FOREGROUND_COLOR_BUTTON", 65280, 240, 1680, true);
    row("BLUE_FOREGROUND_COLOR_BUTTON", 16711680, 1080, 1680, true);
    row("CYAN_FOREGROUND_COLOR_BUTTON", 16776960, 1920, 1680, true);
    row("PINK_FOREGROUND_COLOR_BUTTON", 8421631, 2760, 1680, true);
    row("PURPLE_FOREGROUND_COLOR_BUTTON", 16711935, 3600, 1680, true);
    row("BLACK_BACKGROUND_COLOR_BUTTON", 0, 4800, 1080, false);
    row("WHITE_BACKGROUND_COLOR_BUTTON", 16777215, 5640, 1080, false);
    row("RED_BACKGROUND_COLOR_BUTTON", 255, 6480, 1080, false);
    row("YELLOW_BACKGROUND_COLOR_BUTTON", 65535, 7320, 1080, false);
    row("ORANGE_BACKGROUND_COLOR_BUTTON", 33023, 8160, 1080, false);
    row("GREEN_BACKGROUND_COLOR_BUTTON", 65280, 4800, 1560, false);
    row("BLUE_BACKGROUND_COLOR_BUTTON", 16711680, 5640, 1560, false);
    row("CYAN_BACKGROUND_COLOR_BUTTON", 16776960, 6480, 1560, false);
    row("PINK_BACKGROUND_COLOR_BUTTON", 8421631, 7320, 1560, false);
    row("PURPLE_BACKGROUND_COLOR_BUTTON", 16711935, 8160, 1560, false);
}

void ColoursWindowTest::presetRecoloursTheClockAtOnceAndStoresNothing()
{
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(QPoint, place);
    QFETCH(bool, forText);
    SettingsRig rig;
    rig.state.setTextColour(kUnusedColour);
    rig.state.setBackColour(kUnusedColour);
    ColoursWindow* window = open(rig);
    auto* button = control<QPushButton>(window, name);
    QCOMPARE(button->geometry(), ui::toPixels(place.x(), place.y(), 735, 375));
    QVERIFY(button->text().isEmpty());
    QCOMPARE(button->palette().color(QPalette::Button), ui::toQColor(value));

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(rig.state.textColour(), forText ? value : kUnusedColour);
    QCOMPARE(rig.state.backColour(), forText ? kUnusedColour : value);
    QVERIFY(rig.backend.writeLog.isEmpty());
    QVERIFY(window->isVisible());
    window->close();
}

void ColoursWindowTest::okStoresTheClockColoursInItsOrder()
{
    SettingsRig rig;
    ColoursWindow* window = open(rig);
    control<QPushButton>(window, QStringLiteral("RED_FOREGROUND_COLOR_BUTTON"))->click();
    control<QPushButton>(window, QStringLiteral("WHITE_BACKGROUND_COLOR_BUTTON"))->click();
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();
    QCOMPARE(rig.state.textColour(), 255);
    QCOMPARE(rig.state.backColour(), 16777215);
    QCOMPARE(rig.backend.writeLog,
             QStringList({ "COLORS-WINDOW-Left=1000", "COLORS-WINDOW-Top=1000", "CLOCK_FORECOLOR=255",
                           "CLOCK_BACKCOLOR=16777215", "MANUAL_TEXT_COLOR_TICKBOX=0",
                           "MANUAL_BACKGROUND_COLOR_TICKBOX=0", "ENTER_TEXT_COLOR_TEXTBOX=&H0000FF00&",
                           "ENTER_BACKGROUND_COLOR_TEXTBOX=&H00000000&", "COLORS-WINDOW-Left=1000",
                           "COLORS-WINDOW-Top=1000" }));
    QCOMPARE(openWindows(), QStringList { QStringLiteral("OWNER") });
}

void ColoursWindowTest::closeBoxStoresOnlyThePlaceAndLeavesThePresetOnTheClock()
{
    SettingsRig rig;
    ColoursWindow* window = open(rig);
    control<QPushButton>(window, QStringLiteral("BLUE_FOREGROUND_COLOR_BUTTON"))->click();
    window->close();
    QCOMPARE(rig.takeWrittenKeys(), QStringList({ "COLORS-WINDOW-Left", "COLORS-WINDOW-Top" }));
    QCOMPARE(rig.state.textColour(), 16711680);
}

void ColoursWindowTest::okStoresTheMovedPlace()
{
    SettingsRig rig;
    rig.backend.values = { { "COLORS-WINDOW-Left", "-1500" }, { "COLORS-WINDOW-Top", "3000" } };
    ColoursWindow* window = open(rig);
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(-100, 200));
    window->move(40, 50);
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();
    QCOMPARE(rig.backend.value(QStringLiteral("COLORS-WINDOW-Left")), QStringLiteral("600"));
    QCOMPARE(rig.backend.value(QStringLiteral("COLORS-WINDOW-Top")), QStringLiteral("750"));
    QVERIFY(!rig.backend.has(QStringLiteral("COLORS-WINDOW-Width")));
}

void ColoursWindowTest::storedManualColourDecidesAtOk_data()
{
    QTest::addColumn<QString>("tickbox");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("forecolour"); // stored by OK
    QTest::addColumn<QString>("backcolour");
    // A red foreground and a white background preset are clicked first.
    QTest::newRow("manual text overrides the preset") << "MANUAL_TEXT_COLOR_TICKBOX=1"
                                                      << "ENTER_TEXT_COLOR_TEXTBOX"
                                                      << "&H00FF0000&"
                                                      << "16711680"
                                                      << "16777215";
    QTest::newRow("manual background, decimal typed") << "MANUAL_BACKGROUND_COLOR_TICKBOX=1"
                                                      << "ENTER_BACKGROUND_COLOR_TEXTBOX"
                                                      << " 33 023"
                                                      << "255"
                                                      << "33023";
    QTest::newRow("system colour") << "MANUAL_BACKGROUND_COLOR_TICKBOX=1"
                                   << "ENTER_BACKGROUND_COLOR_TEXTBOX"
                                   << "&H80000005&"
                                   << "255"
                                   << "-2147483643";
    QTest::newRow("a word is black") << "MANUAL_TEXT_COLOR_TICKBOX=1"
                                     << "ENTER_TEXT_COLOR_TEXTBOX"
                                     << "green"
                                     << "0"
                                     << "16777215";
    QTest::newRow("above white is not applied") << "MANUAL_TEXT_COLOR_TICKBOX=1"
                                                << "ENTER_TEXT_COLOR_TEXTBOX"
                                                << "&H01000000&"
                                                << "255"
                                                << "16777215";
    QTest::newRow("negative is not applied") << "MANUAL_BACKGROUND_COLOR_TICKBOX=1"
                                             << "ENTER_BACKGROUND_COLOR_TEXTBOX"
                                             << "-5"
                                             << "255"
                                             << "16777215";
    QTest::newRow("overflow is not applied") << "MANUAL_TEXT_COLOR_TICKBOX=1"
                                             << "ENTER_TEXT_COLOR_TEXTBOX"
                                             << "&H123456789&"
                                             << "255"
                                             << "16777215";
    QTest::newRow("unticked manual box is ignored") << "MANUAL_TEXT_COLOR_TICKBOX=0"
                                                    << "ENTER_TEXT_COLOR_TEXTBOX"
                                                    << "&H00FF0000&"
                                                    << "255"
                                                    << "16777215";
    QTest::newRow("greyed manual box is ignored") << "MANUAL_TEXT_COLOR_TICKBOX=2"
                                                  << "ENTER_TEXT_COLOR_TEXTBOX"
                                                  << "&H00FF0000&"
                                                  << "255"
                                                  << "16777215";
}

void ColoursWindowTest::storedManualColourDecidesAtOk()
{
    QFETCH(QString, tickbox);
    QFETCH(QString, entry);
    QFETCH(QString, typed);
    QFETCH(QString, forecolour);
    QFETCH(QString, backcolour);
    SettingsRig rig;
    rig.backend.values.insert(tickbox.section(u'=', 0, 0), tickbox.section(u'=', 1));
    rig.backend.values.insert(entry, typed);
    ColoursWindow* window = open(rig);
    control<QPushButton>(window, QStringLiteral("RED_FOREGROUND_COLOR_BUTTON"))->click();
    control<QPushButton>(window, QStringLiteral("WHITE_BACKGROUND_COLOR_BUTTON"))->click();
    control<QPushButton>(window, QStringLiteral("OK_BUTTON"))->click();
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK_FORECOLOR")), forecolour);
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK_BACKCOLOR")), backcolour);
    QCOMPARE(QString::number(rig.state.textColour()), forecolour);
    QCOMPARE(QString::number(rig.state.backColour()), backcolour);
    // The manual section's own values go back unchanged.
    QCOMPARE(rig.backend.value(tickbox.section(u'=', 0, 0)), tickbox.section(u'=', 1));
    QCOMPARE(rig.backend.value(entry), typed);
}

void ColoursWindowTest::entryLooksFollowTheStoredTickboxes_data()
{
    QTest::addColumn<QString>("textTick");
    QTest::addColumn<QString>("backgroundTick");
    QTest::addColumn<bool>("textOn");
    QTest::addColumn<bool>("backgroundOn");
    QTest::newRow("both off") << "0"
                              << "0" << false << false;
    QTest::newRow("text on") << "1"
                             << "0" << true << false;
    QTest::newRow("background on") << "0"
                                   << "1" << false << true;
    QTest::newRow("greyed counts as off") << "2"
                                          << "1" << false << true;
}

void ColoursWindowTest::entryLooksFollowTheStoredTickboxes()
{
    QFETCH(QString, textTick);
    QFETCH(QString, backgroundTick);
    QFETCH(bool, textOn);
    QFETCH(bool, backgroundOn);
    SettingsRig rig;
    rig.backend.values = { { "MANUAL_TEXT_COLOR_TICKBOX", textTick },
                           { "MANUAL_BACKGROUND_COLOR_TICKBOX", backgroundTick } };
    ColoursWindow* window = open(rig);
    auto* textEntry = control<QLineEdit>(window, QStringLiteral("ENTER_TEXT_COLOR_TEXTBOX"));
    auto* backgroundEntry = control<QLineEdit>(window, QStringLiteral("ENTER_BACKGROUND_COLOR_TEXTBOX"));
    QVERIFY(textOn ? entryIsOn(*textEntry) : entryIsOff(*textEntry));
    QVERIFY(backgroundOn ? entryIsOn(*backgroundEntry) : entryIsOff(*backgroundEntry));
    // The tick boxes keep their rule: clearing one puts its entry off again.
    auto* textTickbox = control<QCheckBox>(window, QStringLiteral("MANUAL_TEXT_COLOR_TICKBOX"));
    textTickbox->setCheckState(Qt::Checked);
    QVERIFY(entryIsOn(*textEntry));
    textTickbox->setCheckState(Qt::Unchecked);
    QVERIFY(entryIsOff(*textEntry));
    QCOMPARE(rig.state.textColour(), LiveState::kDefaultTextColour);
    window->close();
}

void ColoursWindowTest::previewFollowsEveryChangeOfItsEntry()
{
    SettingsRig rig;
    rig.backend.values = { { "ENTER_TEXT_COLOR_TEXTBOX", "&H000000FF&" } };
    ColoursWindow* window = open(rig);
    auto* entry = control<QLineEdit>(window, QStringLiteral("ENTER_TEXT_COLOR_TEXTBOX"));
    auto* preview = control<QLineEdit>(window, QStringLiteral("SHOW_TEXT_COLOR_TEXTBOX"));
    QCOMPARE(background(*preview), QColor(255, 0, 0));
    entry->setText(QStringLiteral("&hff0000"));
    QCOMPARE(background(*preview), QColor(0, 0, 255));
    entry->setText(QStringLiteral("&H01000000&")); // no colour the clock can show: the preview stays
    QCOMPARE(background(*preview), QColor(0, 0, 255));
    entry->setText(QStringLiteral("nothing"));
    QCOMPARE(background(*preview), QColor(0, 0, 0));
    QVERIFY(!preview->isEnabled());
    QVERIFY(preview->isReadOnly());
    QCOMPARE(rig.state.textColour(), LiveState::kDefaultTextColour);
    window->close();
}

void ColoursWindowTest::systemColoursTakeThePalettesColours_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::newRow("window background") << 5 << int(QPalette::Active) << int(QPalette::Base);
    QTest::newRow("window text") << 8 << int(QPalette::Active) << int(QPalette::Text);
    QTest::newRow("button face") << 15 << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("highlight") << 13 << int(QPalette::Active) << int(QPalette::Highlight);
    QTest::newRow("grey text") << 17 << int(QPalette::Disabled) << int(QPalette::Text);
    QTest::newRow("tooltip background") << 24 << int(QPalette::Active) << int(QPalette::ToolTipBase);
}

void ColoursWindowTest::systemColoursTakeThePalettesColours()
{
    QFETCH(int, index);
    QFETCH(int, group);
    QFETCH(int, role);
    const QColor expected
        = QApplication::palette().color(QPalette::ColorGroup(group), QPalette::ColorRole(role));
    QCOMPARE(ui::toQColor(qint32(0x80000000u | quint32(index))), expected);
}

QTEST_MAIN(ColoursWindowTest)
#include "tst_colours_window.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsRig.h"
#include "settings_ui/ColoursWindow.h"
#include "ui/Colours.h"
#include "ui/Design.h"
#include "ui/Twips.h"

#include <QPushButton>
#include <QStyle>

using namespace vqdbd;
using namespace vqdbd::test;

class ColoursWindowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QVERIFY2(openWindows().isEmpty(), qPrintable(openWindows().join(u' '))); }
    void emptyStoreOpensWithTheManualSectionHiddenAndOff();
    void presetRecoloursTheClockAtOnceAndStoresNothing_data();
    void presetRecoloursTheClockAtOnceAndStoresNothing();
    void presetFaceShowsExactlyItsColour_data();
    void presetFaceShowsExactlyItsColour();
    void okStoresTheClockColoursInItsOrder();
    void closeBoxStoresOnlyThePlaceAndLeavesThePresetOnTheClock();
    void storedManualColourDecidesAtOk_data();
    void storedManualColourDecidesAtOk();
    void previewFollowsEveryChangeOfItsEntry();

private:
    static ColoursWindow* open(SettingsRig& rig)
    {
        return ColoursWindow::showOver(rig.services(), rig.owner.get());
    }
};

namespace {

QColor background(const QWidget* widget)
{
    return widget->palette().color(QPalette::Base);
}

QLineEdit* entry(const QWidget* window, bool forText)
{
    return control<QLineEdit>(window,
                              forText ? "ENTER_TEXT_COLOR_TEXTBOX" : "ENTER_BACKGROUND_COLOR_TEXTBOX");
}

} // namespace

void ColoursWindowTest::emptyStoreOpensWithTheManualSectionHiddenAndOff()
{
    SettingsRig rig;
    ColoursWindow* window = open(rig);
    QCOMPARE(window->windowTitle(), QStringLiteral("VQ-DBD - V3 - SET CLOCK COLORS"));
    QCOMPARE(window->parentWidget(), rig.owner.get());
    QCOMPARE(window->windowModality(), Qt::ApplicationModal);
    QCOMPARE(window->frameGeometry().topLeft(), QPoint(67, 67)); // 1000, 1000, 9240 x 3570 twips
    QCOMPARE(window->size(), QSize(610, 213));
    QCOMPARE(window->focusWidget(), control(window, "OK_BUTTON"));
    for (const char* name :
         { "MANUAL_TEXT_COLOR_TICKBOX", "MANUAL_BACKGROUND_COLOR_TICKBOX", "ENTER_TEXT_COLOR_TEXTBOX",
           "ENTER_BACKGROUND_COLOR_TEXTBOX", "SHOW_TEXT_COLOR_TEXTBOX", "SHOW_BACKGROUND_COLOR_TEXTBOX" })
        QVERIFY2(!control(window, name)->isVisible(), name);
    for (const bool forText : { true, false }) {
        QCOMPARE(entry(window, forText)->text(), forText ? "&H0000FF00&" : "&H00000000&");
        QCOMPARE(textState(*entry(window, forText)), QStringLiteral("off"));
    }
    QCOMPARE(
        rig.backend.readLog,
        QStringList({ "COLORS-WINDOW-Left", "COLORS-WINDOW-Top", "COLORS-WINDOW-Width",
                      "COLORS-WINDOW-Height", "MANUAL_TEXT_COLOR_TICKBOX", "MANUAL_BACKGROUND_COLOR_TICKBOX",
                      "ENTER_TEXT_COLOR_TEXTBOX", "ENTER_BACKGROUND_COLOR_TEXTBOX" }));
    QVERIFY(rig.backend.writeLog.isEmpty());
    window->close();
}

namespace {

// The twenty presets: name, colour value, place in twips.
struct PresetRow
{
    const char* name;
    int value;
    int left;
    int top;
};

const PresetRow kPresetRows[] = {
    { "BLACK_FOREGROUND_COLOR_BUTTON", 0, 240, 1080 },
    { "WHITE_FOREGROUND_COLOR_BUTTON", 16777215, 1080, 1080 },
    { "RED_FOREGROUND_COLOR_BUTTON", 255, 1920, 1080 },
    { "YELLOW_FOREGROUND_COLOR_BUTTON", 65535, 2760, 1080 },
    { "ORANGE_FOREGROUND_COLOR_BUTTON", 33023, 3600, 1080 },
    { "GREEN_FOREGROUND_COLOR_BUTTON", 65280, 240, 1680 },
    { "BLUE_FOREGROUND_COLOR_BUTTON", 16711680, 1080, 1680 },
    { "CYAN_FOREGROUND_COLOR_BUTTON", 16776960, 1920, 1680 },
    { "PINK_FOREGROUND_COLOR_BUTTON", 8421631, 2760, 1680 },
    { "PURPLE_FOREGROUND_COLOR_BUTTON", 16711935, 3600, 1680 },
    { "BLACK_BACKGROUND_COLOR_BUTTON", 0, 4800, 1080 },
    { "WHITE_BACKGROUND_COLOR_BUTTON", 16777215, 5640, 1080 },
    { "RED_BACKGROUND_COLOR_BUTTON", 255, 6480, 1080 },
    { "YELLOW_BACKGROUND_COLOR_BUTTON", 65535, 7320, 1080 },
    { "ORANGE_BACKGROUND_COLOR_BUTTON", 33023, 8160, 1080 },
    { "GREEN_BACKGROUND_COLOR_BUTTON", 65280, 4800, 1560 },
    { "BLUE_BACKGROUND_COLOR_BUTTON", 16711680, 5640, 1560 },
    { "CYAN_BACKGROUND_COLOR_BUTTON", 16776960, 6480, 1560 },
    { "PINK_BACKGROUND_COLOR_BUTTON", 8421631, 7320, 1560 },
    { "PURPLE_BACKGROUND_COLOR_BUTTON", 16711935, 8160, 1560 },
};

} // namespace

void ColoursWindowTest::presetRecoloursTheClockAtOnceAndStoresNothing_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QPoint>("place"); // twips
    QTest::addColumn<bool>("forText");
    for (const PresetRow& row : kPresetRows)
        QTest::newRow(row.name) << row.value << QPoint(row.left, row.top)
                                << QByteArray(row.name).contains("FOREGROUND");
}

void ColoursWindowTest::presetRecoloursTheClockAtOnceAndStoresNothing()
{
    QFETCH(int, value);
    QFETCH(QPoint, place);
    QFETCH(bool, forText);
    constexpr qint32 kUnused = 0x00123456;
    SettingsRig rig;
    rig.state.setTextColour(kUnused);
    rig.state.setBackColour(kUnused);
    ColoursWindow* window = open(rig);
    auto* button = control<QPushButton>(window, QTest::currentDataTag());
    QCOMPARE(button->geometry(), ui::toPixels(place.x(), place.y(), 735, 375));
    QVERIFY(button->text().isEmpty());
    QCOMPARE(button->palette().color(QPalette::Button), ui::toQColor(value));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(rig.state.textColour(), forText ? value : kUnused);
    QCOMPARE(rig.state.backColour(), forText ? kUnused : value);
    QVERIFY(rig.backend.writeLog.isEmpty());
    window->close();
}

void ColoursWindowTest::presetFaceShowsExactlyItsColour_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("style");
    for (const char* style : { "Fusion", "Windows" }) {
        for (const PresetRow& row : kPresetRows)
            QTest::addRow("%s %s", row.name, style) << row.name << row.value << style;
    }
}

// The face as drawn, not as the palette says: every pixel inside the one-pixel frame is the
// preset's colour, untouched by any gradient or bevel of the style.
void ColoursWindowTest::presetFaceShowsExactlyItsColour()
{
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(QString, style);
    const QString previous = QApplication::style()->name();
    QApplication::setStyle(style);
    QCOMPARE(QApplication::style()->name().toLower(), style.toLower());
    SettingsRig rig;
    ColoursWindow* window = open(rig);
    const QImage drawn = control(window, name)->grab().toImage();
    QApplication::setStyle(previous);
    const QColor wanted = ui::toQColor(value);
    const QRect face = drawn.rect().adjusted(1, 1, -1, -1);
    int others = 0;
    QColor other;
    for (int y = face.top(); y <= face.bottom(); ++y) {
        for (int x = face.left(); x <= face.right(); ++x) {
            if (drawn.pixelColor(x, y).rgb() != wanted.rgb()) {
                other = drawn.pixelColor(x, y);
                ++others;
            }
        }
    }
    const QColor centre = drawn.pixelColor(drawn.rect().center());
    QVERIFY2(others == 0,
             qPrintable(QStringLiteral("%1 of %2 face pixels are not %3, e.g. %4; the centre is %5")
                            .arg(others)
                            .arg(face.width() * face.height())
                            .arg(wanted.name(), other.name(), centre.name())));
    window->close();
}

void ColoursWindowTest::okStoresTheClockColoursInItsOrder()
{
    SettingsRig rig;
    ColoursWindow* window = open(rig);
    control<QPushButton>(window, "RED_FOREGROUND_COLOR_BUTTON")->click();
    control<QPushButton>(window, "WHITE_BACKGROUND_COLOR_BUTTON")->click();
    control<QPushButton>(window, "OK_BUTTON")->click();
    QCOMPARE(rig.backend.writeLog,
             QStringList({ "COLORS-WINDOW-Left=1000", "COLORS-WINDOW-Top=1000", "CLOCK_FORECOLOR=255",
                           "CLOCK_BACKCOLOR=16777215", "MANUAL_TEXT_COLOR_TICKBOX=0",
                           "MANUAL_BACKGROUND_COLOR_TICKBOX=0", "ENTER_TEXT_COLOR_TEXTBOX=&H0000FF00&",
                           "ENTER_BACKGROUND_COLOR_TEXTBOX=&H00000000&" }));
    QCOMPARE(rig.backend.commits, 1); // the closing's place joins the OK's write
    QCOMPARE(openWindows(), QStringList { "OWNER" });
}

void ColoursWindowTest::closeBoxStoresOnlyThePlaceAndLeavesThePresetOnTheClock()
{
    SettingsRig rig;
    ColoursWindow* window = open(rig);
    control<QPushButton>(window, "BLUE_FOREGROUND_COLOR_BUTTON")->click();
    window->move(40, 50);
    window->close();
    QCOMPARE(rig.backend.writeLog, QStringList({ "COLORS-WINDOW-Left=600", "COLORS-WINDOW-Top=750" }));
    QCOMPARE(rig.state.textColour(), 16711680);
}

void ColoursWindowTest::storedManualColourDecidesAtOk_data()
{
    QTest::addColumn<bool>("forText");
    QTest::addColumn<QString>("tick");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // the colour OK stores for that side
    // A red text and a white background preset are clicked before OK.
    QTest::newRow("text overrides the preset") << true << "1"
                                               << "&H00FF0000&"
                                               << "16711680";
    QTest::newRow("background, decimal with blanks") << false << "1"
                                                     << " 33 023"
                                                     << "33023";
    QTest::newRow("system colour") << false << "1"
                                   << "&H80000005&"
                                   << "-2147483643";
    QTest::newRow("a word is black") << true << "1"
                                     << "green"
                                     << "0";
    QTest::newRow("above white is not applied") << true << "1"
                                                << "&H01000000&"
                                                << "255";
    QTest::newRow("negative is not applied") << false << "1"
                                             << "-5"
                                             << "16777215";
    QTest::newRow("unticked is ignored") << true << "0"
                                         << "&H00FF0000&"
                                         << "255";
    QTest::newRow("greyed is ignored") << true << "2"
                                       << "&H00FF0000&"
                                       << "255";
}

void ColoursWindowTest::storedManualColourDecidesAtOk()
{
    QFETCH(bool, forText);
    QFETCH(QString, tick);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    const QString tickKey = forText ? "MANUAL_TEXT_COLOR_TICKBOX" : "MANUAL_BACKGROUND_COLOR_TICKBOX";
    const QString entryKey = forText ? "ENTER_TEXT_COLOR_TEXTBOX" : "ENTER_BACKGROUND_COLOR_TEXTBOX";
    SettingsRig rig;
    rig.backend.values = { { tickKey, tick }, { entryKey, typed } };
    ColoursWindow* window = open(rig);
    QCOMPARE(textState(*entry(window, forText)), tick == "1" ? "on" : "off");
    control<QPushButton>(window, "RED_FOREGROUND_COLOR_BUTTON")->click();
    control<QPushButton>(window, "WHITE_BACKGROUND_COLOR_BUTTON")->click();
    control<QPushButton>(window, "OK_BUTTON")->click();
    const QString colourKey = forText ? "CLOCK_FORECOLOR" : "CLOCK_BACKCOLOR";
    QCOMPARE(rig.backend.value(colourKey), stored);
    QCOMPARE(QString::number(forText ? rig.state.textColour() : rig.state.backColour()), stored);
    QCOMPARE(rig.backend.value(tickKey), tick);
    QCOMPARE(rig.backend.value(entryKey), typed);
}

void ColoursWindowTest::previewFollowsEveryChangeOfItsEntry()
{
    SettingsRig rig;
    rig.backend.values = { { "ENTER_TEXT_COLOR_TEXTBOX", "&H000000FF&" } };
    ColoursWindow* window = open(rig);
    auto* preview = control<QLineEdit>(window, "SHOW_TEXT_COLOR_TEXTBOX");
    QCOMPARE(background(preview), QColor(255, 0, 0));
    entry(window, true)->setText(QStringLiteral("&H80000005&"));
    QCOMPARE(background(preview), QApplication::palette().color(QPalette::Base));
    entry(window, true)->setText(QStringLiteral("&H01000000&")); // no colour the clock can show
    QCOMPARE(background(preview), QApplication::palette().color(QPalette::Base));
    entry(window, true)->setText(QStringLiteral("nothing"));
    QCOMPARE(background(preview), QColor(0, 0, 0));
    // Loading the default changed nothing, so the background preview keeps its designed green.
    QCOMPARE(background(control(window, "SHOW_BACKGROUND_COLOR_TEXTBOX")), QColor(0, 255, 0));
    QCOMPARE(rig.state.textColour(), settings::kTextColour.defaultValue);
    window->close();
}

QTEST_MAIN(ColoursWindowTest)
#include "tst_colours_window.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockRig.h"
#include "ui/ScreenPlace.h"
#include "ui/ScreenWatch.h"
#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace vqdbd;
using vqdbd::test::ClockRig;

namespace {

constexpr int kFarEdge = -1;

} // namespace

class WindowPlacementTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void reachablePlaceKeepsTheCaptionBarOnTheScreens_data();
    void reachablePlaceKeepsTheCaptionBarOnTheScreens();
    void windowOpensWhereStoredOrOnTheNearestScreen_data();
    void windowOpensWhereStoredOrOnTheNearestScreen();
    void openWindowsComeBackWhenTheScreensChange_data();
    void openWindowsComeBackWhenTheScreensChange();
    void storedValuesChangeOnlyWhenTheWindowIsSaved();
    void everyFrameGoesRoundTheDesignedClientArea_data();
    void everyFrameGoesRoundTheDesignedClientArea();
    void sizeLargerThanEveryScreenIsDamaged_data();
    void sizeLargerThanEveryScreenIsDamaged();

private:
    QRect screen_;
};

void WindowPlacementTest::initTestCase()
{
    screen_ = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(screen_.width() > 300 && screen_.height() > 200);
}

void WindowPlacementTest::reachablePlaceKeepsTheCaptionBarOnTheScreens_data()
{
    QTest::addColumn<QList<QRect>>("screens"); // usable areas
    QTest::addColumn<QRect>("stored"); // outer frame, pixels
    QTest::addColumn<QRect>("placed");
    const QList<QRect> one { { 0, 0, 1280, 1024 } };
    const QList<QRect> small { { 0, 0, 640, 480 } };
    const QList<QRect> sideBySide { { 0, 0, 800, 600 }, { 800, 0, 800, 600 } };
    const QList<QRect> rightShorter { { 0, 0, 800, 600 }, { 800, 0, 800, 400 } };
    const QList<QRect> leftOfPrimary { { -800, 0, 800, 600 }, { 0, 0, 1280, 1024 } };
    // The caption bar is 20 pixels tall; the clock 239 x 82 pixels.
    QTest::newRow("inside") << one << QRect(100, 100, 239, 82) << QRect(100, 100, 239, 82);
    QTest::newRow("caption above the screen (Top -1125)")
        << one << QRect(66, -75, 239, 82) << QRect(66, 0, 239, 82);
    QTest::newRow("caption one row above") << one << QRect(66, -1, 239, 82) << QRect(66, 0, 239, 82);
    QTest::newRow("close box off the right edge")
        << one << QRect(1100, 100, 239, 82) << QRect(1041, 100, 239, 82);
    QTest::newRow("grab area off the left edge") << one << QRect(-200, 10, 239, 82) << QRect(0, 10, 239, 82);
    QTest::newRow("far right") << one << QRect(1000000, 100, 239, 82) << QRect(1041, 100, 239, 82);
    QTest::newRow("far away up left") << one << QRect(-1000000, -1000000, 239, 82) << QRect(0, 0, 239, 82);
    QTest::newRow("body below the bottom, caption on screen")
        << one << QRect(100, 1000, 239, 82) << QRect(100, 1000, 239, 82);
    QTest::newRow("caption past the bottom") << one << QRect(100, 1010, 239, 82) << QRect(100, 942, 239, 82);
    QTest::newRow("two screens: across the seam")
        << sideBySide << QRect(700, 100, 239, 82) << QRect(700, 100, 239, 82);
    QTest::newRow("two screens: wider than each, whole across both")
        << sideBySide << QRect(600, 20, 912, 557) << QRect(600, 20, 912, 557);
    QTest::newRow("two screens: wider than each, mostly on the shorter: cut down to it")
        << rightShorter << QRect(600, 20, 912, 557) << QRect(800, 0, 800, 400);
    QTest::newRow("two screens: negative Left")
        << sideBySide << QRect(-200, 100, 239, 82) << QRect(0, 100, 239, 82);
    QTest::newRow("two screens: right of the right one")
        << sideBySide << QRect(1700, 100, 239, 82) << QRect(1361, 100, 239, 82);
    QTest::newRow("two screens: below the shorter one")
        << rightShorter << QRect(900, 450, 239, 82) << QRect(900, 318, 239, 82);
    QTest::newRow("screen left of the primary: negative Left kept")
        << leftOfPrimary << QRect(-700, 100, 239, 82) << QRect(-700, 100, 239, 82);
    QTest::newRow("screen left of the primary: beyond it")
        << leftOfPrimary << QRect(-1200, 100, 239, 82) << QRect(-800, 100, 239, 82);
    QTest::newRow("alarm settings on 640 x 480: cut down to the screen")
        << small << QRect(66, 66, 912, 557) << QRect(0, 0, 640, 480);
    QTest::newRow("too tall only: cut down, left kept")
        << small << QRect(10, 10, 400, 557) << QRect(10, 0, 400, 480);
    QTest::newRow("huge size") << one << QRect(66, 66, 32767, 32767) << QRect(0, 0, 1280, 1024);
    QTest::newRow("no screens: as stored")
        << QList<QRect>() << QRect(-5000, 7, 239, 82) << QRect(-5000, 7, 239, 82);
}

void WindowPlacementTest::reachablePlaceKeepsTheCaptionBarOnTheScreens()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, stored);
    QFETCH(QRect, placed);
    QCOMPARE(ui::reachablePlace(stored, 20, screens), placed);
    if (!screens.isEmpty())
        QVERIFY(ui::captionOnScreens(placed, 20, screens));
}

void WindowPlacementTest::windowOpensWhereStoredOrOnTheNearestScreen_data()
{
    // The clock's client area is 233 x 61 pixels (3585 x 1230 twips outer, less its designed frame);
    // no frame here, so its caption bar is its top row.
    QTest::addColumn<int>("left"); // pixels
    QTest::addColumn<int>("top");
    QTest::addColumn<QPoint>("expected");
    const int rightmost = screen_.right() + 1 - 233;
    const int lowest = screen_.bottom() + 1 - 61;
    QTest::newRow("inside") << 100 << 100 << QPoint(100, 100);
    QTest::newRow("partly off the bottom") << 10 << screen_.bottom() - 5 << QPoint(10, screen_.bottom() - 5);
    QTest::newRow("caption above the screen") << 66 << -75 << QPoint(66, screen_.top());
    QTest::newRow("partly off the left edge") << -200 << 10 << QPoint(screen_.left(), 10);
    QTest::newRow("wholly left of every screen") << -1000 << 10 << QPoint(screen_.left(), 10);
    QTest::newRow("wholly right of every screen") << screen_.right() + 50 << 10 << QPoint(rightmost, 10);
    QTest::newRow("wholly below") << 10 << screen_.bottom() + 300 << QPoint(10, lowest);
    QTest::newRow("far away") << 1000000 << 1000000 << QPoint(rightmost, lowest);
}

void WindowPlacementTest::windowOpensWhereStoredOrOnTheNearestScreen()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(QPoint, expected);
    ClockRig rig;
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Left"), QString::number(left * 15));
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Top"), QString::number(top * 15));
    ClockWindow& clock = rig.start();
    QCOMPARE(clock.frameGeometry().topLeft(), expected);
    QCOMPARE(clock.size(), QSize(233, 61)); // moved, never resized
}

void WindowPlacementTest::openWindowsComeBackWhenTheScreensChange_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QPoint>("movedTo"); // where the clock lay when the screens changed under it
    QTest::addColumn<QPoint>(
        "placed"); // the outer corner; kFarEdge: the frame against the right or bottom edge
    QTest::newRow("resolution changed: beyond the right edge")
        << "geometry" << QPoint(screen_.right() - 20, 100) << QPoint(kFarEdge, 100);
    QTest::newRow("usable area changed: caption above the top")
        << "usable area" << QPoint(100, screen_.top() - 50) << QPoint(100, screen_.top());
    QTest::newRow("monitor plugged in: off every screen")
        << "screen added" << QPoint(-1000, -1000) << screen_.topLeft();
    QTest::newRow("monitor unplugged: off every screen")
        << "screen removed" << QPoint(screen_.right() + 500, screen_.bottom() + 500)
        << QPoint(kFarEdge, kFarEdge);
    QTest::newRow("within reach: left where it is") << "geometry" << QPoint(10, 20) << QPoint(10, 20);
}

void WindowPlacementTest::openWindowsComeBackWhenTheScreensChange()
{
    QFETCH(QString, change);
    QFETCH(QPoint, movedTo);
    QFETCH(QPoint, placed);
    ClockRig rig;
    ClockWindow& clock = rig.start();
    const ui::ScreenWatch watch;
    clock.move(movedTo);
    QCOMPARE(clock.frameGeometry().topLeft(), movedTo);
    const QSize outer = clock.frameGeometry().size(); // with the frame the platform draws once shown
    if (placed.x() == kFarEdge)
        placed.setX(screen_.right() + 1 - outer.width());
    if (placed.y() == kFarEdge)
        placed.setY(screen_.bottom() + 1 - outer.height());
    QScreen* screen = QGuiApplication::primaryScreen();
    if (change == "geometry")
        Q_EMIT screen->geometryChanged(screen->geometry());
    else if (change == "usable area")
        Q_EMIT screen->availableGeometryChanged(screen->availableGeometry());
    else if (change == "screen added")
        Q_EMIT qGuiApp->screenAdded(screen);
    else if (change == "screen removed")
        Q_EMIT qGuiApp->screenRemoved(screen);
    QTRY_COMPARE(clock.frameGeometry().topLeft(), placed);
    QCOMPARE(clock.size(), QSize(233, 61));
    clock.close();
}

void WindowPlacementTest::storedValuesChangeOnlyWhenTheWindowIsSaved()
{
    ClockRig rig;
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("-99000"));
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("500"));
    ClockWindow& clock = rig.start();
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Left")), QStringLiteral("-99000"));
    QCOMPARE(clock.frameGeometry().topLeft(), QPoint(screen_.left(), 33));
    QVERIFY(rig.backend.writeLog.isEmpty());
    clock.close();
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Left")), QString::number(screen_.left() * 15));
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Top")), QStringLiteral("500"));
}

void WindowPlacementTest::everyFrameGoesRoundTheDesignedClientArea_data()
{
    QTest::addColumn<QMargins>("frame"); // as the window manager tells it before the window is shown
    QTest::newRow("none") << QMargins();
    QTest::newRow("1 px borders, a 20 px caption") << QMargins(1, 20, 1, 1);
    QTest::newRow("a 37 px caption alone") << QMargins(0, 37, 0, 0);
    QTest::newRow("5 px borders, a 29 px caption") << QMargins(5, 29, 5, 5);
}

void WindowPlacementTest::everyFrameGoesRoundTheDesignedClientArea()
{
    QFETCH(QMargins, frame);
    ClockRig rig;
    rig.windows.frame = frame;
    ClockWindow& clock = rig.start();
    // 3585 x 1230 twips outer, less the 90 x 315 twips the design's tool-window frame takes.
    QCOMPARE(clock.size(), QSize(233, 61));
}

void WindowPlacementTest::sizeLargerThanEveryScreenIsDamaged_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QSize>("size"); // the clock's client area
    QTest::addColumn<bool>("told");
    QTest::newRow("width of ten million twips") << "Width"
                                                << "10000000" << QSize(233, 61) << true;
    QTest::newRow("height one pixel taller than the screen")
        << "Height" << QString::number((screen_.height() + 1) * 15) << QSize(233, 61) << true;
    QTest::newRow("width of the whole screen")
        << "Width" << QString::number(screen_.width() * 15) << QSize(screen_.width() - 6, 61) << false;
    QTest::newRow("smaller than designed") << "Height"
                                           << "900" << QSize(233, 39) << false;
}

void WindowPlacementTest::sizeLargerThanEveryScreenIsDamaged()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QSize, size);
    QFETCH(bool, told);
    ClockRig rig;
    rig.backend.values.insert("CLOCK-MAIN-" + key, stored);
    QSignalSpy resets(&rig.store, &SettingsStore::valueReset);
    ClockWindow& clock = rig.start();
    QCOMPARE(clock.size(), size);
    QCOMPARE(resets.size(), told ? 1 : 0);
    if (told)
        QCOMPARE(resets.first().at(0).toString(), "CLOCK-MAIN-" + key);
    QCOMPARE(rig.backend.value("CLOCK-MAIN-" + key), stored); // kept until the program writes it
}

QTEST_MAIN(WindowPlacementTest)
#include "tst_window_placement.moc"

#include "ClockRig.h"
#include "ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using namespace vqdbd;
using vqdbd::test::ClockRig;

class WindowPlacementTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void windowOpensWhereStoredOrAtTheDefaultWhenOnNoScreen_data();
    void windowOpensWhereStoredOrAtTheDefaultWhenOnNoScreen();
    void storedValuesChangeOnlyWhenTheWindowIsSaved();
    void frameMarginsComeOutOfTheOuterSize();

private:
    QRect screen_;
};

void WindowPlacementTest::initTestCase()
{
    screen_ = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(screen_.width() > 300 && screen_.height() > 200);
}

void WindowPlacementTest::windowOpensWhereStoredOrAtTheDefaultWhenOnNoScreen_data()
{
    // The clock is 239 x 82 pixels (3585 x 1230 twips).
    QTest::addColumn<int>("left"); // pixels
    QTest::addColumn<int>("top");
    QTest::addColumn<bool>("asStored");
    QTest::newRow("inside") << 100 << 100 << true;
    QTest::newRow("partly off the left edge") << -200 << 10 << true;
    QTest::newRow("partly off the bottom") << 10 << screen_.bottom() - 5 << true;
    QTest::newRow("wholly left of every screen") << -1000 << 10 << false;
    QTest::newRow("wholly right of every screen") << screen_.right() + 50 << 10 << false;
    QTest::newRow("wholly below") << 10 << screen_.bottom() + 300 << false;
    QTest::newRow("far away") << 1000000 << 1000000 << false;
}

void WindowPlacementTest::windowOpensWhereStoredOrAtTheDefaultWhenOnNoScreen()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(bool, asStored);
    ClockRig rig;
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Left"), QString::number(left * 15));
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Top"), QString::number(top * 15));
    const QPoint placed = rig.start().frameGeometry().topLeft();
    const QPoint expected = asStored ? QPoint(left, top) : screen_.topLeft() + QPoint(67, 67);
    QCOMPARE(placed, expected);
}

void WindowPlacementTest::storedValuesChangeOnlyWhenTheWindowIsSaved()
{
    ClockRig rig;
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("-99000"));
    rig.backend.values.insert(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("500"));
    ClockWindow& clock = rig.start();
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Left")), QStringLiteral("-99000"));
    QVERIFY(rig.backend.writeLog.isEmpty());
    clock.close();
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Left")),
             QString::number((screen_.left() + 67) * 15));
}

void WindowPlacementTest::frameMarginsComeOutOfTheOuterSize()
{
    ClockRig rig;
    rig.windows.frame = QMargins(1, 20, 1, 1);
    ClockWindow& clock = rig.start();
    QCOMPARE(clock.size(), QSize(239 - 2, 82 - 21));
}

QTEST_MAIN(WindowPlacementTest)
#include "tst_window_placement.moc"

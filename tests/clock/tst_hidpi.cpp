// SPDX-License-Identifier: GPL-3.0-or-later
// On a screen with a device-pixel ratio of 2, twips keep meaning 1/1440 inch of the design: the
// windows are twice as many physical pixels, and stored positions round-trip unchanged.
#include "ClockRig.h"

#include <QTest>

using namespace vqdbd;
using vqdbd::test::ClockRig;

class HiDpiTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowIsTwiceAsManyPhysicalPixels();
    void storedPositionRoundTripsUnchanged_data();
    void storedPositionRoundTripsUnchanged();
    void movedWindowStoresTwipsOfTheDesign();
};

void HiDpiTest::windowIsTwiceAsManyPhysicalPixels()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    QCOMPARE(clock.devicePixelRatio(), 2.0);
    QCOMPARE(clock.size(), QSize(233, 61));
    QCOMPARE(clock.grab().size(), QSize(466, 122));
}

void HiDpiTest::storedPositionRoundTripsUnchanged_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::newRow("whole pixels") << "1500"
                                  << "3000";
    QTest::newRow("between pixels") << "1007.5"
                                    << "2222.25";
    QTest::newRow("near the right edge") << "5902.5"
                                         << "45";
}

void HiDpiTest::storedPositionRoundTripsUnchanged()
{
    QFETCH(QString, left);
    QFETCH(QString, top);
    QCOMPARE(vqdbd::test::placeStoredByAnUnmovedRun(left, top), left + u' ' + top);
}

void HiDpiTest::movedWindowStoresTwipsOfTheDesign()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    clock.move(100, 40); // logical pixels: 200 by 80 physical ones
    clock.close();
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Left")), QStringLiteral("1500"));
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Top")), QStringLiteral("600"));
}

QTEST_MAIN(HiDpiTest)
#include "tst_hidpi.moc"

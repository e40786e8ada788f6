// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockRig.h"
#include "clock/SecondTicker.h"
#include "notify/AlarmNotificationWindow.h"
#include "notify/SlotNotificationWindows.h"
#include "ui/WindowClosing.h"

#include <QSignalSpy>
#include <QTest>

using namespace vqdbd;
using vqdbd::test::ClockRig;
using namespace std::chrono_literals;

class ClockShutdownTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void closingSavesLeftThenTopAndNothingElse();
    void windowClosedUnmovedStoresTheSamePlace_data();
    void windowClosedUnmovedStoresTheSamePlace();
    void movedWindowStoresItsNewPlace();
    void nothingTicksAfterTheClose();
    void endingTheRunClosesOpenWindowsWithTheirOwnSaving();
};

void ClockShutdownTest::closingSavesLeftThenTopAndNothingElse()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    QSignalSpy closed(&clock, &ClockWindow::closed);
    QVERIFY(clock.close());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(rig.backend.writeLog, QStringList({ "CLOCK-MAIN-Left=1000", "CLOCK-MAIN-Top=1000" }));
}

void ClockShutdownTest::windowClosedUnmovedStoresTheSamePlace_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::newRow("between pixels") << "1007.5"
                                    << "22.5";
    QTest::newRow("partly off the bottom, caption on the screen") << "1500"
                                                                  << "15000";
    QTest::newRow("against the right edge") << "15600"
                                            << "7500";
}

void ClockShutdownTest::windowClosedUnmovedStoresTheSamePlace()
{
    QFETCH(QString, left);
    QFETCH(QString, top);
    QCOMPARE(vqdbd::test::placeStoredByAnUnmovedRun(left, top), left + u' ' + top);
}

void ClockShutdownTest::movedWindowStoresItsNewPlace()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    clock.move(300, 100);
    clock.close();
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Left")), QStringLiteral("4500"));
    QCOMPARE(rig.backend.value(QStringLiteral("CLOCK-MAIN-Top")), QStringLiteral("1500"));

    ClockRig again;
    again.backend.values = rig.backend.values;
    QCOMPARE(again.start().frameGeometry().topLeft(), QPoint(300, 100));
}

void ClockShutdownTest::nothingTicksAfterTheClose()
{
    ClockRig rig;
    ClockWindow& clock = rig.start();
    const QString before = clock.timeText();
    QSignalSpy shown(&clock.ticker(), &SecondTicker::secondShown);
    clock.close();
    rig.clock.runFor(5s);
    QCOMPARE(shown.count(), 0);
    QCOMPARE(clock.timeText(), before);
}

void ClockShutdownTest::endingTheRunClosesOpenWindowsWithTheirOwnSaving()
{
    ClockRig rig;
    rig.backend.values.insert(QStringLiteral("ALARM_5_MESSAGE_AUTO_CLOSE_TICKBOX"), QStringLiteral("1"));
    ClockWindow& clock = rig.start();
    clock.notificationWindows().openWindow(2);
    clock.notificationWindows().openWindow(5);
    QWidget* second = clock.notificationWindows().window(2);
    QVERIFY(second);
    second->move(300, 150);
    rig.notice.tell(QStringLiteral("title"), QStringLiteral("a notice over the windows"));

    ui::closeAllWindows(clock);

    QVERIFY(!clock.isVisible());
    QVERIFY(!clock.notificationWindows().isWindowOpen(2));
    QVERIFY(!clock.notificationWindows().isWindowOpen(5));
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_2-NOTIFICATION-MESSAGE-Left")), QStringLiteral("4500"));
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_2-NOTIFICATION-MESSAGE-Top")), QStringLiteral("2250"));
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_5_MESSAGE_AUTO_CLOSE_TICKBOX")), QStringLiteral("1"));
    QCOMPARE(rig.backend.value(QStringLiteral("ALARM_5-NOTIFICATION-MESSAGE-Left")), QStringLiteral("1000"));
    QVERIFY(rig.backend.writeLog.last().startsWith(QStringLiteral("CLOCK-MAIN-Top=")));
}

QTEST_MAIN(ClockShutdownTest)
#include "tst_clock_shutdown.moc"

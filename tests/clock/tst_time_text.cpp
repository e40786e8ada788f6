#include "state/TimeText.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace vqdbd;

class TimeTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cLocaleGivesTwoDigitHoursMinutesSeconds_data();
    void cLocaleGivesTwoDigitHoursMinutesSeconds();
    void twelveHourLocaleAddsItsDesignator_data();
    void twelveHourLocaleAddsItsDesignator();
    void unknownLocaleFallsBackToC();
    void wallSecondsCountLocalTime();
};

void TimeTextTest::cLocaleGivesTwoDigitHoursMinutesSeconds_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("text");
    QTest::newRow("morning") << 7 << 5 << 9 << "07:05:09";
    QTest::newRow("last second") << 23 << 59 << 59 << "23:59:59";
    QTest::newRow("midnight") << 0 << 0 << 0 << "00:00:00";
    QTest::newRow("noon") << 12 << 0 << 0 << "12:00:00";
}

void TimeTextTest::cLocaleGivesTwoDigitHoursMinutesSeconds()
{
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(int, second);
    QFETCH(QString, text);
    const TimeTextFormat format("C");
    QVERIFY(format.loadedRequestedLocale());
    QCOMPARE(format.format(hour, minute, second), text);
}

void TimeTextTest::twelveHourLocaleAddsItsDesignator_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<QString>("text");
    QTest::newRow("morning") << 7 << "07:05:09 AM";
    QTest::newRow("evening") << 19 << "07:05:09 PM";
}

void TimeTextTest::twelveHourLocaleAddsItsDesignator()
{
    QFETCH(int, hour);
    QFETCH(QString, text);
    // A 12-hour locale of our own, compiled into this test's folder, so the test does not depend on
    // which locales the machine has.
    static QTemporaryDir localeDir;
    static bool built = false;
    if (!built) {
        const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
        QVERIFY2(!localedef.isEmpty(), "localedef is needed to build a 12-hour locale");
        const int status = QProcess::execute(localedef,
                                             { QStringLiteral("-i"), QStringLiteral("en_US"),
                                               QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                               localeDir.filePath(QStringLiteral("en_US.UTF-8")) });
        QVERIFY2(status == 0 || status == 1, "localedef failed"); // 1: built with warnings
        qputenv("LOCPATH", localeDir.path().toLocal8Bit());
        built = true;
    }
    const TimeTextFormat format("en_US.UTF-8");
    QVERIFY(format.loadedRequestedLocale());
    QCOMPARE(format.format(hour, 5, 9), text);
}

void TimeTextTest::unknownLocaleFallsBackToC()
{
    const TimeTextFormat format("xx_NOWHERE.UTF-8");
    QVERIFY(!format.loadedRequestedLocale());
    QCOMPARE(format.format(7, 5, 9), QStringLiteral("07:05:09"));
}

void TimeTextTest::wallSecondsCountLocalTime()
{
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    // 2023-07-01 12:00:00 UTC is 14:00:00 summer time in Central Europe.
    const WallSecond summer = wallSecondAt(1'688'212'800);
    QCOMPARE(summer.local.tm_hour, 14);
    QCOMPARE(summer.localSecond - summer.utcSecond, 7200);
    const std::tm back = localTimeOf(summer.localSecond);
    QCOMPARE(back.tm_hour, 14);
    QCOMPARE(back.tm_mday, 1);
    qunsetenv("TZ");
    tzset();
}

QTEST_GUILESS_MAIN(TimeTextTest)
#include "tst_time_text.moc"

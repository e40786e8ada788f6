// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestLocales.h"
#include "state/FiringTimes.h"
#include "state/TimeText.h"

#include <QTest>

using namespace vqdbd;

class TimeTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cLocaleGivesTwoDigitHoursMinutesSeconds_data();
    void cLocaleGivesTwoDigitHoursMinutesSeconds();
    void everyLocaleShowsHHmmssOrItsOwnTwelveHourText_data();
    void everyLocaleShowsHHmmssOrItsOwnTwelveHourText();
    void onlyHHmmssAndTheClocksOwnTextCanFire_data();
    void onlyHHmmssAndTheClocksOwnTextCanFire();
    void unknownLocaleFallsBackToC();
    void wallSecondsCountLocalTime();
};

void TimeTextTest::initTestCase()
{
    const QString problem = test::provideLocales();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

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

void TimeTextTest::everyLocaleShowsHHmmssOrItsOwnTwelveHourText_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<int>("hour");
    QTest::addColumn<QString>("text"); // at hour:35:23
    QTest::newRow("C") << QByteArray("C.UTF-8") << 19 << "19:35:23";
    QTest::newRow("en_US evening") << QByteArray("en_US.UTF-8") << 19 << "07:35:23 PM";
    QTest::newRow("en_US midnight") << QByteArray("en_US.UTF-8") << 0 << "12:35:23 AM";
    QTest::newRow("el_GR") << QByteArray("el_GR.UTF-8") << 19 << "07:35:23 μμ";
    QTest::newRow("de_DE") << QByteArray("de_DE.UTF-8") << 19 << "19:35:23";
    QTest::newRow("nb_NO, own text without seconds") << QByteArray("nb_NO.UTF-8") << 19 << "19:35:23";
    QTest::newRow("ja_JP, own text 19時35分23秒") << QByteArray("ja_JP.UTF-8") << 19 << "19:35:23";
}

void TimeTextTest::everyLocaleShowsHHmmssOrItsOwnTwelveHourText()
{
    QFETCH(QByteArray, locale);
    QFETCH(int, hour);
    QFETCH(QString, text);
    const TimeTextFormat format(locale);
    QVERIFY(format.loadedRequestedLocale());
    QCOMPARE(format.format(hour, 35, 23), text);
    QCOMPARE(format.isTwelveHour(), text.size() > 8);
    QCOMPARE(format.longestText(), text.size());
}

void TimeTextTest::onlyHHmmssAndTheClocksOwnTextCanFire_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("fires");
    const auto row = [](const char* name, const char* locale, const QString& time, bool fires) {
        QTest::newRow(name) << QByteArray(locale) << time << fires;
    };
    row("clock form", "C.UTF-8", "07:30:00", true);
    row("midnight", "C.UTF-8", "00:00:00", true);
    row("one-digit hour", "C.UTF-8", "7:30:00", false);
    row("no seconds", "C.UTF-8", "16:05", false);
    row("trailing blank", "C.UTF-8", "07:30:0 ", false);
    row("placeholder letters", "C.UTF-8", "HH:MM:SS", false);
    row("hour 24", "C.UTF-8", "24:00:00", false);
    row("hour 25", "C.UTF-8", "25:00:00", false);
    row("minute 60", "C.UTF-8", "12:60:00", false);
    row("a word", "C.UTF-8", "noon", false);
    row("empty", "C.UTF-8", "", false);
    row("other separator", "C.UTF-8", "07.30.00", false);
    row("designator under a 24-hour clock", "C.UTF-8", "07:30:00 PM", false);
    row("en_US: HH:mm:ss", "en_US.UTF-8", "16:00:00", true);
    row("en_US: its own text", "en_US.UTF-8", "04:00:00 PM", true);
    row("en_US: its own midnight", "en_US.UTF-8", "12:00:00 AM", true);
    row("en_US: no designator is the morning", "en_US.UTF-8", "04:00:00", true);
    row("en_US: one-digit hour", "en_US.UTF-8", "4:00:00 PM", false);
    row("en_US: 24-hour with designator", "en_US.UTF-8", "16:00:00 PM", false);
    row("en_US: hour 0 with designator", "en_US.UTF-8", "00:00:00 AM", false);
    row("el_GR: its own text", "el_GR.UTF-8", "07:35:23 μμ", true);
    row("el_GR: another locale's designator", "el_GR.UTF-8", "07:35:23 PM", false);
    row("de_DE: HH:mm:ss", "de_DE.UTF-8", "19:35:23", true);
    row("nb_NO: HH:mm:ss", "nb_NO.UTF-8", "19:35:23", true);
    row("nb_NO: its own text is never shown", "nb_NO.UTF-8", "kl. 19.35 +0000", false);
    row("ja_JP: HH:mm:ss", "ja_JP.UTF-8", "19:35:23", true);
    row("ja_JP: its own text is never shown", "ja_JP.UTF-8", "19時35分23秒", false);
}

void TimeTextTest::onlyHHmmssAndTheClocksOwnTextCanFire()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, time);
    QFETCH(bool, fires);
    const TimeTextFormat format(locale);
    QVERIFY(format.loadedRequestedLocale());
    const FiringTimes firing(format);
    QCOMPARE(firing.canFire(time), fires);
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

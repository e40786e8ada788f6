#include "ClockRig.h"
#include "TestLocales.h"
#include "state/TimeText.h"

#include <QFontMetricsF>
#include <QLineEdit>
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
    void theWholeTimeFitsTheDisplayInEveryLocale_data();
    void theWholeTimeFitsTheDisplayInEveryLocale();
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

void TimeTextTest::theWholeTimeFitsTheDisplayInEveryLocale_data()
{
    QTest::addColumn<QByteArray>("locale");
    for (const QByteArray& locale : test::kTriedLocales)
        QTest::newRow(locale.constData()) << locale;
}

void TimeTextTest::theWholeTimeFitsTheDisplayInEveryLocale()
{
    QFETCH(QByteArray, locale);
    test::ClockRig rig(locale);
    auto* display = rig.start().findChild<QLineEdit*>(QStringLiteral("TIME_TEXTBOX"));
    const QString text = display->text();
    QCOMPARE(text, rig.timeFormat.format(wallSecondAt(1'700'000'000).local));
    // The designed box and at most the designed 35 pixels (26.25 pt); a line edit keeps 6 pixels for
    // its margins and cursor, and scrolls a wider text out of sight.
    QCOMPARE(display->geometry(), QRect(64, 8, 161, 45));
    const int pixels = display->font().pixelSize();
    const auto width = [display](const QString& sample, int size) {
        QFont font = display->font();
        font.setPixelSize(size);
        return QFontMetricsF(font).horizontalAdvance(sample);
    };
    QVERIFY(pixels <= 35 && width(text, pixels) <= display->width() - 6);
    // Just small enough: one pixel more and some hour's text would not fit.
    const QStringList samples = rig.timeFormat.hourSamples();
    QVERIFY(pixels == 35 || std::any_of(samples.begin(), samples.end(), [&](const QString& sample) {
                return width(sample, pixels + 1) > display->width() - 6;
            }));
    // The green ink drawn spans the whole text and stays clear of the box's edges.
    const QImage image = display->grab().toImage();
    int left = image.width(), right = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y).green() > 128) {
                left = std::min(left, x);
                right = x;
            }
        }
    }
    QVERIFY2(
        left > 0 && right < image.width() - 1 && right - left + 1 >= 0.9 * width(text, pixels),
        qPrintable(QStringLiteral("ink %1..%2 for %3 px").arg(left).arg(right).arg(width(text, pixels))));
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

QTEST_MAIN(TimeTextTest)
#include "tst_time_text.moc"

#include "TestLocales.h"
#include "state/ColourText.h"
#include "state/FiringTimes.h"
#include "state/TimeText.h"

#include <QTest>

using namespace vqdbd;

// The pure rules behind the settings windows: how a typed colour reads, which colours the clock
// can show, and which alarm times can ever fire.
class ColourTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typedColourReadsAsANumber_data();
    void typedColourReadsAsANumber();
    void onlyHHmmssAndTheClocksOwnTextCanFire_data();
    void onlyHHmmssAndTheClocksOwnTextCanFire();
};

void ColourTextTest::typedColourReadsAsANumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value"); // "overflow": more than 32 bits
    QTest::addColumn<bool>("shown"); // a colour the clock can show
    const auto row = [](const char* name, const QString& text, const char* value, bool shown) {
        QTest::newRow(name) << text << QString::fromLatin1(value) << shown;
    };
    row("hex form", "&H0000FF00&", "65280", true);
    row("lower case, no closing ampersand", "&h00ff00", "65280", true);
    row("decimal", "65280", "65280", true);
    row("a word is black", "green", "0", true);
    row("blanks between hex groups", "&H 00 00 FF &", "255", true);
    row("digits then letters", "12abc", "12", true);
    row("empty is black", "", "0", true);
    row("tabs and line feeds anywhere", "\t6\n52 80", "65280", true);
    row("carriage return ends it", "12\r34", "12", true);
    row("hex stops at a non-digit", "&H1G2", "1", true);
    row("no digits after &H", "&H", "0", true);
    row("leading zeros beyond eight digits", "&H000000000FF&", "255", true);
    row("window background", "&H80000005&", "-2147483643", true);
    row("last system colour", "&H80000018&", "-2147483624", true);
    row("past the system colours", "&H80000019&", "-2147483623", false);
    row("all bits set", "&HFFFFFFFF&", "-1", false);
    row("above white", "&H01000000&", "16777216", false);
    row("nine hex digits", "&H100000000&", "overflow", false);
    row("half down to even", "2.5", "2", true);
    row("half up to even", "3.5", "4", true);
    row("negative half to even", "-2.5", "-2", false);
    row("above a half", "65280.51", "65281", true);
    row("point first", ".75", "1", true);
    row("no exponent", "1e3", "1", true);
    row("largest", "2147483647", "2147483647", false);
    row("one past largest", "2147483648", "overflow", false);
    row("many digits", "99999999999999999999", "overflow", false);
    row("other scripts' digits", QStringLiteral("\u0661\u0662"), "0", true);
}

void ColourTextTest::typedColourReadsAsANumber()
{
    QFETCH(QString, text);
    QFETCH(QString, value);
    QFETCH(bool, shown);
    const auto read = colourTextValue(text);
    QCOMPARE(read ? QString::number(*read) : QStringLiteral("overflow"), value);
    QCOMPARE(clockColourFromText(text).has_value(), shown);
    if (read)
        QCOMPARE(isClockColour(*read), shown);
}

void ColourTextTest::onlyHHmmssAndTheClocksOwnTextCanFire_data()
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

void ColourTextTest::onlyHHmmssAndTheClocksOwnTextCanFire()
{
    QFETCH(QByteArray, locale);
    QFETCH(QString, time);
    QFETCH(bool, fires);
    const QString problem = test::provideLocales();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const TimeTextFormat format(locale);
    QVERIFY(format.loadedRequestedLocale());
    const FiringTimes firing(format);
    QCOMPARE(firing.canFire(time), fires);
}

QTEST_GUILESS_MAIN(ColourTextTest)
#include "tst_colour_text.moc"

#include "state/ColourText.h"
#include "state/FiringTimes.h"
#include "state/TimeText.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
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
    void clockShowsPlainAndSystemColoursOnly_data();
    void clockShowsPlainAndSystemColoursOnly();
    void typedColourIsUsableOnlyWhenTheClockCanShowIt_data();
    void typedColourIsUsableOnlyWhenTheClockCanShowIt();
    void onlyTheClocksOwnTimeTextCanFire_data();
    void onlyTheClocksOwnTimeTextCanFire();
    void clockFormShowsTheMeantTime_data();
    void clockFormShowsTheMeantTime();
    void twentyFourHourTimesNeverFireUnderATwelveHourFormat();

private:
    static bool buildTwelveHourLocale();
};

namespace {

constexpr qint64 kOverflow = std::numeric_limits<qint64>::min();

} // namespace

void ColourTextTest::typedColourReadsAsANumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected"); // kOverflow: does not fit into 32 bits

    // The examples the colours window is known by.
    QTest::newRow("hex form") << "&H0000FF00&" << qint64(65280);
    QTest::newRow("lower case, no closing ampersand") << "&h00ff00" << qint64(65280);
    QTest::newRow("decimal") << "65280" << qint64(65280);
    QTest::newRow("a word is black") << "green" << qint64(0);
    QTest::newRow("blanks between hex groups") << "&H 00 00 FF &" << qint64(255);
    QTest::newRow("digits then letters") << "12abc" << qint64(12);
    QTest::newRow("empty is black") << "" << qint64(0);

    // Blanks, tabs and line feeds count nowhere; other white space ends the number.
    QTest::newRow("blanks inside decimal") << " 65 280 " << qint64(65280);
    QTest::newRow("tab and line feed") << "\t6\n5280" << qint64(65280);
    QTest::newRow("blank between & and H") << "& H FF" << qint64(255);
    QTest::newRow("carriage return ends it") << "12\r34" << qint64(12);
    QTest::newRow("only blanks") << " \t\n " << qint64(0);

    // Hexadecimal: either case, up to the first non-digit, as 32 bits with the top bit as sign.
    QTest::newRow("upper-case digits") << "&HFF&" << qint64(255);
    QTest::newRow("mixed case") << "&hAbCdEf" << qint64(0xABCDEF);
    QTest::newRow("stops at a non-digit") << "&H1G2" << qint64(1);
    QTest::newRow("text after the closing ampersand") << "&HFF& 12" << qint64(255);
    QTest::newRow("no digits after &H") << "&H" << qint64(0);
    QTest::newRow("letters after &H") << "&Hxyz" << qint64(0);
    QTest::newRow("system window background") << "&H80000005&" << qint64(-2147483643);
    QTest::newRow("all bits set") << "&HFFFFFFFF&" << qint64(-1);
    QTest::newRow("leading zeros beyond eight digits") << "&H000000000FF&" << qint64(255);
    QTest::newRow("nine significant digits overflow") << "&H100000000&" << kOverflow;
    QTest::newRow("ampersand alone") << "&" << qint64(0);
    QTest::newRow("H without ampersand") << "H12" << qint64(0);

    // Decimal: sign, digits and a fraction, rounded to the nearest, a half to the even neighbour.
    QTest::newRow("plus sign") << "+12" << qint64(12);
    QTest::newRow("minus sign") << "-12" << qint64(-12);
    QTest::newRow("sign alone") << "-" << qint64(0);
    QTest::newRow("half down to even") << "2.5" << qint64(2);
    QTest::newRow("half up to even") << "3.5" << qint64(4);
    QTest::newRow("negative half to even") << "-2.5" << qint64(-2);
    QTest::newRow("just below a half") << "65280.49" << qint64(65280);
    QTest::newRow("just above a half") << "65280.51" << qint64(65281);
    QTest::newRow("point first") << ".5" << qint64(0);
    QTest::newRow("point first, above a half") << ".75" << qint64(1);
    QTest::newRow("point alone") << "." << qint64(0);
    QTest::newRow("comma ends it") << "1,5" << qint64(1);
    QTest::newRow("no exponent") << "1e3" << qint64(1);
    QTest::newRow("largest") << "2147483647" << qint64(2147483647);
    QTest::newRow("smallest") << "-2147483648" << qint64(-2147483648LL);
    QTest::newRow("one past largest overflows") << "2147483648" << kOverflow;
    QTest::newRow("rounds past largest") << "2147483647.5" << kOverflow;
    QTest::newRow("many digits overflow") << "99999999999999999999" << kOverflow;
    QTest::newRow("tiny fraction") << QStringLiteral("0.") + QString(400, u'0') + u'1' << qint64(0);
    QTest::newRow("other scripts' digits are no number") << QStringLiteral("\u0661\u0662") << qint64(0);
}

void ColourTextTest::typedColourReadsAsANumber()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    const auto value = colourTextValue(text);
    if (expected == kOverflow) {
        QVERIFY2(!value, qPrintable(QString::number(value.value_or(0))));
        return;
    }
    QVERIFY(value);
    QCOMPARE(qint64(*value), expected);
}

void ColourTextTest::clockShowsPlainAndSystemColoursOnly_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<bool>("shown");
    QTest::newRow("black") << qint64(0) << true;
    QTest::newRow("white") << qint64(0x00FFFFFF) << true;
    QTest::newRow("above white") << qint64(0x01000000) << false;
    QTest::newRow("negative") << qint64(-1) << false;
    QTest::newRow("first system colour") << qint64(qint32(0x80000000u)) << true;
    QTest::newRow("window background") << qint64(qint32(0x80000005u)) << true;
    QTest::newRow("last system colour") << qint64(qint32(0x80000018u)) << true;
    QTest::newRow("past the system colours") << qint64(qint32(0x80000019u)) << false;
    QTest::newRow("system colour with other bits") << qint64(qint32(0x80000105u)) << false;
}

void ColourTextTest::clockShowsPlainAndSystemColoursOnly()
{
    QFETCH(qint64, value);
    QFETCH(bool, shown);
    QCOMPARE(isClockColour(qint32(value)), shown);
}

void ColourTextTest::typedColourIsUsableOnlyWhenTheClockCanShowIt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected"); // -1: not usable
    QTest::newRow("blue") << "&H00FF0000&" << qint64(16711680);
    QTest::newRow("window background") << "&H80000005&" << qint64(-2147483643);
    QTest::newRow("decimal window background") << "-2147483643" << qint64(-2147483643);
    QTest::newRow("above white") << "&H01000000&" << qint64(-1);
    QTest::newRow("negative") << "-5" << qint64(-1);
    QTest::newRow("overflow") << "&H123456789&" << qint64(-1);
    QTest::newRow("a word is black") << "green" << qint64(0);
}

void ColourTextTest::typedColourIsUsableOnlyWhenTheClockCanShowIt()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    const auto colour = clockColourFromText(text);
    QCOMPARE(colour ? qint64(*colour) : qint64(-1), expected);
}

void ColourTextTest::onlyTheClocksOwnTimeTextCanFire_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("fires");
    QTest::newRow("clock form") << "07:30:00" << true;
    QTest::newRow("midnight") << "00:00:00" << true;
    QTest::newRow("last second") << "23:59:59" << true;
    QTest::newRow("one-digit hour") << "7:30:00" << false;
    QTest::newRow("no seconds") << "07:30" << false;
    QTest::newRow("short") << "7:30" << false;
    QTest::newRow("trailing blank") << "07:30:0 " << false;
    QTest::newRow("placeholder letters") << "HH:MM:SS" << false;
    QTest::newRow("hour 24") << "24:00:00" << false;
    QTest::newRow("minute 60") << "07:60:00" << false;
    QTest::newRow("other separator") << "07.30.00" << false;
    QTest::newRow("empty") << "" << false;
}

void ColourTextTest::onlyTheClocksOwnTimeTextCanFire()
{
    QFETCH(QString, time);
    QFETCH(bool, fires);
    const TimeTextFormat format("C");
    const FiringTimes firing(format);
    QCOMPARE(firing.canFire(time), fires);
}

void ColourTextTest::clockFormShowsTheMeantTime_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("form");
    QTest::newRow("short") << "7:30"
                           << "07:30:00";
    QTest::newRow("no seconds") << "16:05"
                                << "16:05:00";
    QTest::newRow("one-digit parts") << "7:3:9"
                                     << "07:03:09";
    QTest::newRow("no numbers") << "HH:MM:SS"
                                << "07:30:00";
    QTest::newRow("hour out of range") << "25:00"
                                       << "07:30:00";
    QTest::newRow("too many digits") << "123:00"
                                     << "07:30:00";
}

void ColourTextTest::clockFormShowsTheMeantTime()
{
    QFETCH(QString, typed);
    QFETCH(QString, form);
    const TimeTextFormat format("C");
    QCOMPARE(FiringTimes(format).clockFormOf(typed), form);
}

bool ColourTextTest::buildTwelveHourLocale()
{
    // Compiled into a folder of this test's own, so the test does not depend on the machine's locales.
    static QTemporaryDir localeDir;
    static const bool built = [] {
        const QString localedef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
        if (localedef.isEmpty())
            return false;
        const int status = QProcess::execute(localedef,
                                             { QStringLiteral("-i"), QStringLiteral("en_US"),
                                               QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                               localeDir.filePath(QStringLiteral("en_US.UTF-8")) });
        qputenv("LOCPATH", localeDir.path().toLocal8Bit());
        return status == 0 || status == 1; // 1: built with warnings
    }();
    return built;
}

void ColourTextTest::twentyFourHourTimesNeverFireUnderATwelveHourFormat()
{
    QVERIFY2(buildTwelveHourLocale(), "localedef could not build a 12-hour locale");
    const TimeTextFormat format("en_US.UTF-8");
    QVERIFY(format.loadedRequestedLocale());
    const FiringTimes firing(format);
    QVERIFY(!firing.canFire(QStringLiteral("16:00:00")));
    QVERIFY(!firing.canFire(QStringLiteral("04:00:00")));
    QVERIFY(firing.canFire(QStringLiteral("04:00:00 PM")));
    QCOMPARE(firing.clockFormOf(QStringLiteral("16:00:00")), QStringLiteral("04:00:00 PM"));
}

QTEST_GUILESS_MAIN(ColourTextTest)
#include "tst_colour_text.moc"

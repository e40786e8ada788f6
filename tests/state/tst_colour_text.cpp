// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ColourText.h"

#include <QTest>

using namespace vqdbd;

// How a typed colour reads, and which colours the clock can show.
class ColourTextTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typedColourReadsAsANumber_data();
    void typedColourReadsAsANumber();
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

QTEST_GUILESS_MAIN(ColourTextTest)
#include "tst_colour_text.moc"

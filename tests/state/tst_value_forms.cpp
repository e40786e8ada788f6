// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ValueForms.h"

#include <QTest>

using namespace vqdbd;

class ValueFormsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void switchReadsWhatACheckBoxAccepts_data();
    void switchReadsWhatACheckBoxAccepts();
    void colourReadsASigned32BitDecimal_data();
    void colourReadsASigned32BitDecimal();
    void twipsReadOnlyPlainDecimals_data();
    void twipsReadOnlyPlainDecimals();
    void twipsAreWrittenInPlainDecimal_data();
    void twipsAreWrittenInPlainDecimal();
    void everyWrittenTwipsValueReadsBackUnchanged();
};

void ValueFormsTest::switchReadsWhatACheckBoxAccepts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1: not a value a check box takes
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("greyed 2") << "2" << 2;
    QTest::newRow("blanks around") << " 1 " << 1;
    QTest::newRow("plus sign") << "+1" << 1;
    QTest::newRow("3 is refused") << "3" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("letters") << "yes" << -1;
    QTest::newRow("fraction") << "1.0" << -1;
    QTest::newRow("16-bit overflow") << "65537" << -1;
    QTest::newRow("overflow") << "99999999999" << -1;
    QTest::newRow("exponent") << "1e0" << -1;
}

void ValueFormsTest::switchReadsWhatACheckBoxAccepts()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto value = forms::parseSwitch(text);
    QCOMPARE(value.value_or(-1), expected);
}

void ValueFormsTest::colourReadsASigned32BitDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("green") << "65280" << true << qint64(65280);
    QTest::newRow("black") << "0" << true << qint64(0);
    QTest::newRow("window background") << "-2147483643" << true << qint64(-2147483643);
    QTest::newRow("largest") << "2147483647" << true << qint64(2147483647);
    QTest::newRow("one past largest") << "2147483648" << false << qint64(0);
    QTest::newRow("hex text is not decimal") << "&H0000FF00&" << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("NaN") << "NaN" << false << qint64(0);
    QTest::newRow("list") << "1, 2" << false << qint64(0);
}

void ValueFormsTest::colourReadsASigned32BitDecimal()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, expected);
    const auto value = forms::parseColour(text);
    QCOMPARE(value.has_value(), valid);
    if (valid)
        QCOMPARE(qint64(*value), expected);
}

void ValueFormsTest::twipsReadOnlyPlainDecimals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<float>("expected");
    QTest::newRow("whole") << "1000" << true << 1000.0f;
    QTest::newRow("negative fraction") << "-1500.5" << true << -1500.5f;
    QTest::newRow("leading point") << ".5" << true << 0.5f;
    QTest::newRow("trailing point") << "15." << true << 15.0f;
    QTest::newRow("blanks") << " 30 " << true << 30.0f;
    QTest::newRow("negative zero") << "-0" << true << 0.0f;
    QTest::newRow("exponent") << "1e9" << false << 0.0f;
    QTest::newRow("NaN") << "NaN" << false << 0.0f;
    QTest::newRow("inf") << "inf" << false << 0.0f;
    QTest::newRow("overflow") << "99999999999" << false << 0.0f;
    QTest::newRow("empty") << "" << false << 0.0f;
    QTest::newRow("letters") << "left" << false << 0.0f;
    QTest::newRow("comma decimal") << "1000,5" << false << 0.0f;
    QTest::newRow("two points") << "1.2.3" << false << 0.0f;
    QTest::newRow("sign only") << "-" << false << 0.0f;
}

void ValueFormsTest::twipsReadOnlyPlainDecimals()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(float, expected);
    const auto value = forms::parseTwips(text);
    QCOMPARE(value.has_value(), valid);
    if (valid)
        QCOMPARE(*value, expected);
}

void ValueFormsTest::twipsAreWrittenInPlainDecimal_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 1000.0f << "1000";
    QTest::newRow("negative half") << -1500.5f << "-1500.5";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("large whole") << 16777215.0f << "16777215";
    QTest::newRow("pixel in twips") << 1005.0f << "1005";
    QTest::newRow("tenth") << 0.1f << "0.1";
}

void ValueFormsTest::twipsAreWrittenInPlainDecimal()
{
    QFETCH(float, value);
    QFETCH(QString, expected);
    QCOMPARE(forms::formatTwips(value), expected);
}

void ValueFormsTest::everyWrittenTwipsValueReadsBackUnchanged()
{
    for (const float value : { 1.0f / 3.0f, -12345.678f, 2.5e8f, 1e-3f, 7.0f, -99999.9f }) {
        const QString text = forms::formatTwips(value);
        QVERIFY2(!text.contains(u'e') && !text.endsWith(QStringLiteral(".0")), qPrintable(text));
        QCOMPARE(forms::parseTwips(text).value_or(-1), value);
    }
}

QTEST_GUILESS_MAIN(ValueFormsTest)
#include "tst_value_forms.moc"

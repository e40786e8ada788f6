// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeWallClock.h"
#include "clock/SecondTicker.h"

#include <QSignalSpy>
#include <QTest>

using namespace vqdbd;
using vqdbd::test::FakeWallClock;
using namespace std::chrono_literals;

namespace {
// 2023-11-14 22:13:20 UTC
constexpr qint64 kStart = 1'700'000'000;
} // namespace

class SecondTickerTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void startShowsTheTimeAtOnceAndWakesAtTheNextBoundary();
    void eachBoundaryShowsTheNextSecond();
    void lateWakeShowsTheSecondItWokeIn();
    void clockChangesShowAtOnce_data();
    void clockChangesShowAtOnce();
    void wakeWithinTheShownSecondShowsNothingNew();
    void aMinuteOfBoundariesShowsSixtySecondsInOrder();
    void stoppedTickerShowsNothing();

private:
    FakeWallClock clock_;
    TimeTextFormat format_ { "C" };
};

void SecondTickerTest::initTestCase()
{
    qputenv("TZ", "UTC");
    tzset();
}

void SecondTickerTest::startShowsTheTimeAtOnceAndWakesAtTheNextBoundary()
{
    FakeWallClock clock(FakeWallClock::at(kStart, 250));
    SecondTicker ticker(clock, format_);
    QSignalSpy shown(&ticker, &SecondTicker::secondShown);
    ticker.start();
    QCOMPARE(ticker.text(), QStringLiteral("22:13:20"));
    QCOMPARE(shown.count(), 1);
    QCOMPARE(clock.pendingWake(), FakeWallClock::at(kStart + 1));
}

void SecondTickerTest::eachBoundaryShowsTheNextSecond()
{
    FakeWallClock clock(FakeWallClock::at(kStart, 999));
    SecondTicker ticker(clock, format_);
    ticker.start();
    clock.advanceTo(FakeWallClock::at(kStart + 1));
    QCOMPARE(ticker.text(), QStringLiteral("22:13:21"));
    QCOMPARE(clock.pendingWake(), FakeWallClock::at(kStart + 2));
}

void SecondTickerTest::lateWakeShowsTheSecondItWokeIn()
{
    FakeWallClock clock(FakeWallClock::at(kStart, 500));
    SecondTicker ticker(clock, format_);
    ticker.start();
    QSignalSpy shown(&ticker, &SecondTicker::secondShown);
    clock.advanceTo(FakeWallClock::at(kStart + 3), 1400ms);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(ticker.text(), QStringLiteral("22:13:22"));
    QCOMPARE(shown.at(0).at(0).value<WallSecond>().utcSecond, kStart + 2);
    QCOMPARE(clock.pendingWake(), FakeWallClock::at(kStart + 3));
}

void SecondTickerTest::clockChangesShowAtOnce_data()
{
    QTest::addColumn<qint64>("jump");
    QTest::addColumn<QString>("text");
    QTest::newRow("back 1 s") << qint64(-1) << "22:13:19";
    QTest::newRow("back 1 h") << qint64(-3600) << "21:13:20";
    QTest::newRow("forward 59 s") << qint64(59) << "22:14:19";
    QTest::newRow("forward 3 h") << qint64(3 * 3600) << "01:13:20";
}

void SecondTickerTest::clockChangesShowAtOnce()
{
    QFETCH(qint64, jump);
    QFETCH(QString, text);
    FakeWallClock clock(FakeWallClock::at(kStart, 100));
    SecondTicker ticker(clock, format_);
    ticker.start();
    QSignalSpy shown(&ticker, &SecondTicker::secondShown);
    clock.jumpTo(FakeWallClock::at(kStart + jump, 300));
    QCOMPARE(shown.count(), 1);
    QCOMPARE(ticker.text(), text);
    QCOMPARE(clock.pendingWake(), FakeWallClock::at(kStart + jump + 1));
}

void SecondTickerTest::wakeWithinTheShownSecondShowsNothingNew()
{
    FakeWallClock clock(FakeWallClock::at(kStart, 100));
    SecondTicker ticker(clock, format_);
    ticker.start();
    QSignalSpy shown(&ticker, &SecondTicker::secondShown);
    clock.jumpTo(FakeWallClock::at(kStart, 700)); // a small slew within the same second
    QCOMPARE(shown.count(), 0);
    QCOMPARE(clock.pendingWake(), FakeWallClock::at(kStart + 1));
}

void SecondTickerTest::aMinuteOfBoundariesShowsSixtySecondsInOrder()
{
    FakeWallClock clock(FakeWallClock::at(kStart, 10));
    SecondTicker ticker(clock, format_);
    ticker.start();
    QStringList texts;
    connect(&ticker, &SecondTicker::secondShown, this,
            [&](const WallSecond&, const QString& text) { texts.append(text); });
    clock.runFor(60s);
    QCOMPARE(texts.size(), 60);
    QCOMPARE(texts.first(), QStringLiteral("22:13:21"));
    QCOMPARE(texts.last(), QStringLiteral("22:14:20"));
    QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), 60);
}

void SecondTickerTest::stoppedTickerShowsNothing()
{
    FakeWallClock clock(FakeWallClock::at(kStart, 10));
    SecondTicker ticker(clock, format_);
    ticker.start();
    ticker.stop();
    QSignalSpy shown(&ticker, &SecondTicker::secondShown);
    clock.runFor(5s);
    clock.jumpTo(FakeWallClock::at(kStart + 100));
    QCOMPARE(shown.count(), 0);
}

QTEST_GUILESS_MAIN(SecondTickerTest)
#include "tst_second_ticker.moc"

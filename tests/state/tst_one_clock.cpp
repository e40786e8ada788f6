// SPDX-License-Identifier: GPL-3.0-or-later
// One clock per settings file: what a copy does at start-up, given what it finds of a running copy.
#include "FakeRunningCopy.h"
#include "state/OneClock.h"

#include <QTest>

using namespace vqdbd;
using Claim = RunningCopy::Claim;
using Reply = RunningCopy::Reply;

namespace {

QList<Claim> claimsOf(const QString& words)
{
    QList<Claim> claims;
    for (const QString& word : words.split(QLatin1Char(' ')))
        claims.append(word == QStringLiteral("ours")       ? Claim::Ours
                          : word == QStringLiteral("held") ? Claim::Held
                                                           : Claim::Unavailable);
    return claims;
}

QList<Reply> repliesOf(const QString& words)
{
    QList<Reply> replies;
    for (const QString& word : words.split(QLatin1Char(' ')))
        replies.append(word == QStringLiteral("front")               ? Reply::BroughtToFront
                           : word == QStringLiteral("not-listening") ? Reply::NotListening
                                                                     : Reply::Silent);
    return replies;
}

} // namespace

class OneClockTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aCopyRunsTheClockOrHandsOverToTheRunningOne_data();
    void aCopyRunsTheClockOrHandsOverToTheRunningOne();
    void theHomeFolderIsShownAsTilde_data();
    void theHomeFolderIsShownAsTilde();
};

void OneClockTest::aCopyRunsTheClockOrHandsOverToTheRunningOne_data()
{
    QTest::addColumn<QString>("claims");
    QTest::addColumn<QString>("replies");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("steps");
    const QString running = QStringLiteral("vq-dbd: already running for ~/.config/VQ_DBD/vq-dbd.conf");
    const QString brought = running + QStringLiteral("; brought it to the front");
    const QString unanswered = running + QStringLiteral(", but it does not answer; not started twice");

    QTest::newRow("the first copy runs the clock") << "ours"
                                                   << "front" << true << 0 << QString() << "claim";
    QTest::newRow("a second copy brings the running one to the front and ends")
        << "held"
        << "front" << false << 0 << brought << "claim, ask";
    QTest::newRow("a running copy not listening yet is asked again")
        << "held"
        << "not-listening not-listening front" << false << 0 << brought
        << "claim, ask, pause 50, claim, ask, pause 50, claim, ask";
    QTest::newRow("a running copy that ends while asked leaves the clock to this one")
        << "held held ours"
        << "not-listening" << true << 0 << QString() << "claim, ask, pause 50, claim, ask, pause 50, claim";
    QTest::newRow("a running copy that takes the call but does not answer")
        << "held"
        << "silent" << false << 1 << unanswered << "claim, ask";
    QStringList asks;
    for (int ask = 0; ask < oneclock::kAsks; ++ask)
        asks << QStringLiteral("claim, ask");
    QTest::newRow("a running copy that never listens is given up after a while")
        << "held"
        << "not-listening" << false << 1 << unanswered << asks.join(QStringLiteral(", pause 50, "));
    QTest::newRow("without a lock to be had the clock runs and says why")
        << "unavailable"
        << "front" << true << 0
        << "vq-dbd: cannot make sure that no other copy runs for ~/.config/VQ_DBD/vq-dbd.conf "
           "(/run/user/1000/VQ_DBD is not yours); starting anyway"
        << "claim";
}

void OneClockTest::aCopyRunsTheClockOrHandsOverToTheRunningOne()
{
    QFETCH(QString, claims);
    QFETCH(QString, replies);
    QFETCH(bool, runs);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QString, steps);
    test::FakeRunningCopy copies;
    copies.claims = claimsOf(claims);
    copies.replies = repliesOf(replies);
    copies.problemText = QStringLiteral("/run/user/1000/VQ_DBD is not yours");

    const oneclock::StartDecision decision = oneclock::decideStart(
        copies, QStringLiteral("vq-dbd"), QStringLiteral("~/.config/VQ_DBD/vq-dbd.conf"));

    QCOMPARE(decision.runClock, runs);
    QCOMPARE(decision.exitStatus, status);
    QCOMPARE(decision.message, message);
    QCOMPARE(copies.steps.join(QStringLiteral(", ")), steps);
}

void OneClockTest::theHomeFolderIsShownAsTilde_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("shown");
    const QString conf = QStringLiteral("/home/ann/.config/VQ_DBD/vq-dbd.conf");
    QTest::newRow("in the home folder") << conf << "/home/ann"
                                        << "~/.config/VQ_DBD/vq-dbd.conf";
    QTest::newRow("home with a slash at the end") << conf << "/home/ann/"
                                                  << "~/.config/VQ_DBD/vq-dbd.conf";
    QTest::newRow("a folder whose name begins like home") << "/home/anna/.config/VQ_DBD/vq-dbd.conf"
                                                          << "/home/ann"
                                                          << "/home/anna/.config/VQ_DBD/vq-dbd.conf";
    QTest::newRow("home at the root") << "/.config/VQ_DBD/vq-dbd.conf"
                                      << "/"
                                      << "/.config/VQ_DBD/vq-dbd.conf";
    QTest::newRow("no home") << conf << "" << conf;
}

void OneClockTest::theHomeFolderIsShownAsTilde()
{
    QFETCH(QString, path);
    QFETCH(QString, home);
    QFETCH(QString, shown);
    QCOMPARE(oneclock::shownPath(path, home), shown);
}

QTEST_GUILESS_MAIN(OneClockTest)
#include "tst_one_clock.moc"

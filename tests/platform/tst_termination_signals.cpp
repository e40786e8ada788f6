// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminationSignals.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>

using namespace vqdbd;

class TerminationSignalsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void signalAsksForAnOrdinaryEnd_data();
    void signalAsksForAnOrdinaryEnd();
};

void TerminationSignalsTest::signalAsksForAnOrdinaryEnd_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM, from kill or at logout") << SIGTERM;
    QTest::newRow("SIGINT, Ctrl+C in a terminal") << SIGINT;
    QTest::newRow("SIGHUP, terminal closed or session ending") << SIGHUP;
}

// A signal not caught takes its default action and ends the test program itself.
void TerminationSignalsTest::signalAsksForAnOrdinaryEnd()
{
    QFETCH(int, signalNumber);
    TerminationSignals termination;
    QSignalSpy requested(&termination, &TerminationSignals::terminationRequested);
    QCOMPARE(std::raise(signalNumber), 0);
    QVERIFY(requested.wait(5000));
    QCOMPARE(requested.count(), 1);
}

QTEST_GUILESS_MAIN(TerminationSignalsTest)
#include "tst_termination_signals.moc"

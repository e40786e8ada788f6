// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/LaunchRule.h"

#include <QTest>

using namespace vqdbd;

Q_DECLARE_METATYPE(std::optional<vqdbd::WindowStyle>)

class TestLaunchRule final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void launchesOnlyForRunCommandExactlyOne_data();
    void launchesOnlyForRunCommandExactlyOne();
};

void TestLaunchRule::launchesOnlyForRunCommandExactlyOne_data()
{
    QTest::addColumn<int>("runCommand");
    QTest::addColumn<int>("runHidden");
    QTest::addColumn<std::optional<WindowStyle>>("style");
    const std::optional<WindowStyle> none;
    QTest::newRow("run 0, hidden 0") << 0 << 0 << none;
    QTest::newRow("run 0, hidden 1") << 0 << 1 << none;
    QTest::newRow("run 0, hidden 2") << 0 << 2 << none;
    QTest::newRow("run 1, hidden 0: normal") << 1 << 0 << std::optional(WindowStyle::Normal);
    QTest::newRow("run 1, hidden 1: hidden") << 1 << 1 << std::optional(WindowStyle::Hidden);
    QTest::newRow("run 1, hidden 2") << 1 << 2 << none;
    QTest::newRow("run 2, hidden 0") << 2 << 0 << none;
    QTest::newRow("run 2, hidden 1") << 2 << 1 << none;
    QTest::newRow("run 2, hidden 2") << 2 << 2 << none;
}

void TestLaunchRule::launchesOnlyForRunCommandExactlyOne()
{
    QFETCH(int, runCommand);
    QFETCH(int, runHidden);
    QFETCH(std::optional<WindowStyle>, style);
    QCOMPARE(launchStyle(runCommand, runHidden), style);
}

QTEST_GUILESS_MAIN(TestLaunchRule)
#include "tst_launch_rule.moc"

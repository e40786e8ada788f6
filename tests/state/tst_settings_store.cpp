// SPDX-License-Identifier: GPL-3.0-or-later
#include "EventLoop.h"
#include "MemorySettingsBackend.h"
#include "RecordingNotice.h"
#include "Timing.h"
#include "state/SettingKeys.h"
#include "state/SettingsStore.h"
#include "ui/StoreProblemReporter.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace vqdbd;
using vqdbd::test::MemorySettingsBackend;

class SettingsStoreTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void absentKeyGivesTheDefault();
    void presentEmptyKeyGivesEmptyText();
    void damagedValuesFallBackToTheDefault_data();
    void damagedValuesFallBackToTheDefault();
    void damagedTextStaysStoredUntilTheProgramWritesIt();
    void unreadableTextKeyFallsBackToTheDefault();
    void refusedReadGivesTheDefaultAndIsReported();
    void refusedWriteIsKeptAndSeenByLaterReads();
    void nextSuccessfulWriteCatchesUpInOrder();
    void userIsToldOncePerRunOfEachKindOfProblem();
    void oneCauseOfManyFailedReadsIsToldOnceWithItsKeys();
    void batchedSavesReachTheStoreInOneWriteInTheirOrder();
    void refusedWriteIsRetriedLaterWithoutWaitingForALock();
    void lastChanceAtExitNamesTheKeysItCouldNotSave_data();
    void lastChanceAtExitNamesTheKeysItCouldNotSave();
};

void SettingsStoreTest::absentKeyGivesTheDefault()
{
    MemorySettingsBackend backend;
    SettingsStore store(backend);
    QCOMPARE(store.getSetting(QStringLiteral("ALARM_1_NAME_TEXTBOX"), QStringLiteral("Alarm Name")),
             QStringLiteral("Alarm Name"));
    QCOMPARE(store.readSwitch(QStringLiteral("AlwaysOnTop_TICKBOX"), 1), 1);
    QCOMPARE(store.readPosition(QStringLiteral("CLOCK-MAIN-Left"), 1000), 1000.0f);
}

void SettingsStoreTest::presentEmptyKeyGivesEmptyText()
{
    MemorySettingsBackend backend;
    backend.values.insert(QStringLiteral("ALARM_1_NAME_TEXTBOX"), QString());
    SettingsStore store(backend);
    const QString name
        = store.getSetting(QStringLiteral("ALARM_1_NAME_TEXTBOX"), QStringLiteral("Alarm Name"));
    QVERIFY(name.isEmpty());
}

void SettingsStoreTest::damagedValuesFallBackToTheDefault_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("stored");
    QTest::newRow("switch letters") << "switch"
                                    << "yes";
    QTest::newRow("switch empty") << "switch"
                                  << "";
    QTest::newRow("switch a check box refuses") << "switch"
                                                << "3";
    QTest::newRow("switch overflow") << "switch"
                                     << "99999999999";
    QTest::newRow("colour letters") << "colour"
                                    << "green";
    QTest::newRow("colour overflow") << "colour"
                                     << "99999999999";
    QTest::newRow("colour exponent") << "colour"
                                     << "1e9";
    QTest::newRow("position NaN") << "position"
                                  << "NaN";
    QTest::newRow("position inf") << "position"
                                  << "inf";
    QTest::newRow("position exponent") << "position"
                                       << "1e9";
    QTest::newRow("position overflow") << "position"
                                       << "99999999999";
    QTest::newRow("position list") << "position"
                                   << "10, 20";
    QTest::newRow("size zero") << "size"
                               << "0";
    QTest::newRow("size negative") << "size"
                                   << "-3585";
    QTest::newRow("size beyond the largest") << "size"
                                             << "19201";
}

void SettingsStoreTest::damagedValuesFallBackToTheDefault()
{
    QFETCH(QString, form);
    QFETCH(QString, stored);
    const QString key = QStringLiteral("SOME_KEY");
    MemorySettingsBackend backend;
    backend.values.insert(key, stored);
    SettingsStore store(backend);
    QSignalSpy resets(&store, &SettingsStore::valueReset);

    if (form == u"switch")
        QCOMPARE(store.readSwitch(key, 1), 1);
    else if (form == u"colour")
        QCOMPARE(store.readColour(key, 65280), 65280);
    else if (form == u"position")
        QCOMPARE(store.readPosition(key, 1000), 1000.0f);
    else
        QCOMPARE(store.readSize(key, 3585, 19200), 3585.0f);

    QCOMPARE(resets.count(), 1);
    QCOMPARE(resets.at(0).at(0).toString(), key);
    QCOMPARE(resets.at(0).at(1).toString(), stored);
}

void SettingsStoreTest::damagedTextStaysStoredUntilTheProgramWritesIt()
{
    MemorySettingsBackend backend;
    backend.values.insert(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("left"));
    SettingsStore store(backend);
    QCOMPARE(store.readPosition(QStringLiteral("CLOCK-MAIN-Left"), 1000), 1000.0f);
    QCOMPARE(backend.value(QStringLiteral("CLOCK-MAIN-Left")), QStringLiteral("left"));
    QVERIFY(backend.writeLog.isEmpty());

    store.saveTwips(QStringLiteral("CLOCK-MAIN-Left"), 2500);
    QCOMPARE(backend.value(QStringLiteral("CLOCK-MAIN-Left")), QStringLiteral("2500"));
    QCOMPARE(store.readPosition(QStringLiteral("CLOCK-MAIN-Left"), 1000), 2500.0f);
}

void SettingsStoreTest::unreadableTextKeyFallsBackToTheDefault()
{
    MemorySettingsBackend backend;
    backend.values.insert(QStringLiteral("ALARM_2_NAME_TEXTBOX"), QStringLiteral("@Invalid()"));
    backend.unreadable.insert(QStringLiteral("ALARM_2_NAME_TEXTBOX"));
    SettingsStore store(backend);
    QSignalSpy resets(&store, &SettingsStore::valueReset);
    QCOMPARE(store.getSetting(QStringLiteral("ALARM_2_NAME_TEXTBOX"), QStringLiteral("Alarm Name")),
             QStringLiteral("Alarm Name"));
    QCOMPARE(resets.count(), 1);
}

void SettingsStoreTest::refusedReadGivesTheDefaultAndIsReported()
{
    MemorySettingsBackend backend;
    backend.values.insert(QStringLiteral("ENABLE_ALARMS_TICKBOX"), QStringLiteral("1"));
    backend.failReads = true;
    SettingsStore store(backend);
    QSignalSpy failures(&store, &SettingsStore::storeFailed);
    QSignalSpy resets(&store, &SettingsStore::valueReset);
    QCOMPARE(store.readSwitch(QStringLiteral("ENABLE_ALARMS_TICKBOX"), 0), 0);
    QCOMPARE(failures.count(), 1);
    QCOMPARE(failures.at(0).at(0).toString(), QStringLiteral("ENABLE_ALARMS_TICKBOX"));
    QCOMPARE(resets.count(), 0);
}

void SettingsStoreTest::refusedWriteIsKeptAndSeenByLaterReads()
{
    MemorySettingsBackend backend;
    backend.failWrites = true;
    SettingsStore store(backend);
    QSignalSpy failures(&store, &SettingsStore::storeFailed);
    store.saveSetting(QStringLiteral("ALARM_4_NAME_TEXTBOX"), QStringLiteral("Tea"));
    QCOMPARE(failures.count(), 1);
    QVERIFY(store.hasUnsavedWrites());
    QCOMPARE(store.getSetting(QStringLiteral("ALARM_4_NAME_TEXTBOX"), QStringLiteral("Alarm Name")),
             QStringLiteral("Tea"));
    QVERIFY(!backend.has(QStringLiteral("ALARM_4_NAME_TEXTBOX")));
}

void SettingsStoreTest::nextSuccessfulWriteCatchesUpInOrder()
{
    MemorySettingsBackend backend;
    backend.failWrites = true;
    SettingsStore store(backend);
    store.saveSetting(QStringLiteral("A"), QStringLiteral("1"));
    store.saveSetting(QStringLiteral("B"), QStringLiteral("2"));
    store.saveSetting(QStringLiteral("A"), QStringLiteral("3"));
    backend.failWrites = false;
    store.saveSetting(QStringLiteral("C"), QStringLiteral("4"));
    QCOMPARE(backend.writeLog, QStringList({ "A=3", "B=2", "C=4" }));
    QVERIFY(!store.hasUnsavedWrites());
}

void SettingsStoreTest::userIsToldOncePerRunOfEachKindOfProblem()
{
    MemorySettingsBackend backend;
    backend.values.insert(QStringLiteral("CLOCK_FORECOLOR"), QStringLiteral("green"));
    backend.values.insert(QStringLiteral("CLOCK_BACKCOLOR"), QStringLiteral("black"));
    SettingsStore store(backend);
    test::RecordingNotice notice;
    StoreProblemReporter reporter(store, notice);

    store.readColour(QStringLiteral("CLOCK_FORECOLOR"), 65280);
    store.readColour(QStringLiteral("CLOCK_BACKCOLOR"), 0);
    QTRY_COMPARE(notice.texts.count(), 1);
    QVERIFY(notice.texts.at(0).contains(QStringLiteral("CLOCK_FORECOLOR")));
    QVERIFY(notice.texts.at(0).contains(QStringLiteral("CLOCK_BACKCOLOR")));
    QVERIFY(notice.texts.at(0).contains(QStringLiteral("\"green\"")));

    store.readColour(QStringLiteral("CLOCK_FORECOLOR"), 65280);
    backend.failWrites = true;
    store.saveSetting(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1"));
    store.saveSetting(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("1"));
    QTRY_COMPARE(notice.texts.count(), 2);
    QVERIFY(notice.texts.at(1).contains(QStringLiteral("CLOCK-MAIN-Left")));
    test::runPendingEvents();
    QCOMPARE(notice.texts.count(), 2);
}

void SettingsStoreTest::oneCauseOfManyFailedReadsIsToldOnceWithItsKeys()
{
    MemorySettingsBackend backend;
    backend.failReads = true;
    SettingsStore store(backend);
    test::RecordingNotice notice;
    StoreProblemReporter reporter(store, notice);
    for (int n = 1; n <= kSlotCount; ++n)
        store.readSwitch(slotKey(SlotField::Enabled, n), 0);
    QTRY_COMPARE(notice.texts.count(), 1);
    const QString told = notice.texts.at(0);
    QCOMPARE(told.count(QStringLiteral("reads refused")), 1);
    QVERIFY2(told.contains(QStringLiteral(
                 "ALARM_1_TICKBOX, ALARM_2_TICKBOX, ALARM_3_TICKBOX and 7 more: reads refused")),
             qPrintable(told));
}

void SettingsStoreTest::batchedSavesReachTheStoreInOneWriteInTheirOrder()
{
    MemorySettingsBackend backend;
    SettingsStore store(backend);
    {
        const SettingsBatch batch(store);
        store.saveSetting(QStringLiteral("A"), QStringLiteral("1"));
        {
            const SettingsBatch inner(store); // a window's closing inside its own OK
            store.saveSetting(QStringLiteral("B"), QStringLiteral("2"));
        }
        store.saveSetting(QStringLiteral("A"), QStringLiteral("3"));
        QCOMPARE(backend.commits, 0);
        QCOMPARE(store.getSetting(QStringLiteral("A"), QString()), QStringLiteral("3"));
    }
    QCOMPARE(backend.commits, 1);
    QCOMPARE(backend.writeLog, QStringList({ "A=3", "B=2" }));
    QCOMPARE(backend.lastLockWait, SettingsBackend::kUsualLockWait);
}

void SettingsStoreTest::refusedWriteIsRetriedLaterWithoutWaitingForALock()
{
    MemorySettingsBackend backend;
    backend.failWrites = true;
    SettingsStore store(backend);
    QSignalSpy failures(&store, &SettingsStore::storeFailed);
    store.saveSetting(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1500"));
    QCOMPARE(failures.count(), 1);
    backend.failWrites = false;
    QTRY_VERIFY_WITH_TIMEOUT(backend.has(QStringLiteral("CLOCK-MAIN-Left")), 3000);
    QVERIFY(!store.hasUnsavedWrites());
    QCOMPARE(backend.lastLockWait, std::chrono::milliseconds::zero());
    QCOMPARE(failures.count(), 1);
}

void SettingsStoreTest::lastChanceAtExitNamesTheKeysItCouldNotSave_data()
{
    QTest::addColumn<bool>("storeRecovers");
    QTest::newRow("store refuses to the end") << false;
    QTest::newRow("store takes the last chance") << true;
}

void SettingsStoreTest::lastChanceAtExitNamesTheKeysItCouldNotSave()
{
    QFETCH(bool, storeRecovers);
    MemorySettingsBackend backend;
    backend.failWrites = true;
    SettingsStore store(backend);
    store.saveSetting(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1500"));
    store.saveSetting(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("300"));
    backend.failWrites = !storeRecovers;
    QElapsedTimer elapsed;
    elapsed.start();
    const QStringList unsaved = store.saveUnsaved(std::chrono::milliseconds(400));
    QCOMPARE(unsaved, storeRecovers ? QStringList() : QStringList({ "CLOCK-MAIN-Left", "CLOCK-MAIN-Top" }));
    QCOMPARE(backend.has(QStringLiteral("CLOCK-MAIN-Top")), storeRecovers);
    // It keeps trying for the time it was given, and no longer.
    TIMING_VERIFY2(storeRecovers || elapsed.elapsed() >= 250, qPrintable(QString::number(elapsed.elapsed())));
    TIMING_VERIFY2(elapsed.elapsed() < 2000, qPrintable(QString::number(elapsed.elapsed())));
}

QTEST_MAIN(SettingsStoreTest)
#include "tst_settings_store.moc"

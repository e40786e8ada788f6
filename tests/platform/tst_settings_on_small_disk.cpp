// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file on a real, tiny filesystem (a tmpfs of a few KiB), so that a full disk, a disk
// that fills up during a write and a read-only folder are the kernel's own, not a fake's.
#include "MemorySettingsBackend.h"
#include "Timing.h"
#include "platform/IniSettingsBackend.h"
#include "state/SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/mount.h>
#include <unistd.h>

using namespace vqdbd;

class SettingsOnSmallDiskTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void fullDiskRefusesTheWriteAndKeepsTheFileWhole();
    void diskFillingUpDuringAWriteKeepsTheFileWhole();
    void readOnlyFolderRefusesWritesAtOnceAndReadsGoOn();
    void writesCatchUpOnceTheCauseIsGone();

private:
    QString conf() const { return mount_ + QStringLiteral("/VQ_DBD/vq-dbd.conf"); }
    void fillDiskLeaving(qint64 bytes);
    void remount(unsigned long flags);
    QByteArray fileContent() const;

    QTemporaryDir dir_;
    QString mount_;
    bool mounted_ = false;
};

void SettingsOnSmallDiskTest::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("mounting a small filesystem needs root");
    mount_ = dir_.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(mount_));
}

void SettingsOnSmallDiskTest::init()
{
    if (::mount("tmpfs", QFile::encodeName(mount_).constData(), "tmpfs", 0, "size=32k,mode=0755") != 0)
        QSKIP("this machine does not allow mounting a tmpfs");
    mounted_ = true;
}

void SettingsOnSmallDiskTest::cleanup()
{
    if (mounted_)
        ::umount2(QFile::encodeName(mount_).constData(), MNT_DETACH);
    mounted_ = false;
}

void SettingsOnSmallDiskTest::cleanupTestCase()
{
    cleanup();
}

void SettingsOnSmallDiskTest::remount(unsigned long flags)
{
    QCOMPARE(::mount("tmpfs", QFile::encodeName(mount_).constData(), "tmpfs", MS_REMOUNT | flags,
                     "size=32k,mode=0755"),
             0);
}

void SettingsOnSmallDiskTest::fillDiskLeaving(qint64 bytes)
{
    QFile filler(mount_ + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Append));
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size() && filler.flush()) { }
    filler.close();
    // Give back what was asked for, in whole pages as tmpfs counts them.
    QVERIFY(filler.resize(std::max<qint64>(0, filler.size() - bytes)));
}

QByteArray SettingsOnSmallDiskTest::fileContent() const
{
    QFile file(conf());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SettingsOnSmallDiskTest::fullDiskRefusesTheWriteAndKeepsTheFileWhole()
{
    IniSettingsBackend backend(conf());
    QCOMPARE(backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1500")), QString());
    QCOMPARE(backend.write(QStringLiteral("ALARM_1_NAME_TEXTBOX"), QStringLiteral("Wake up")), QString());
    const QByteArray before = fileContent();
    fillDiskLeaving(0);

    const QString problem = backend.write(QStringLiteral("ALARM_1_MESSAGE_TEXTBOX"), QString(8000, u'm'));
    QVERIFY(!problem.isEmpty());
    QCOMPARE(fileContent(), before);
    IniSettingsBackend reader(conf());
    const StoredValue kept = reader.read(QStringLiteral("ALARM_1_NAME_TEXTBOX"));
    QVERIFY2(kept.kind == StoredValue::Kind::Text, qPrintable(kept.reason));
    QCOMPARE(kept.text, QStringLiteral("Wake up"));
}

void SettingsOnSmallDiskTest::diskFillingUpDuringAWriteKeepsTheFileWhole()
{
    IniSettingsBackend backend(conf());
    QCOMPARE(backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1500")), QString());
    const QByteArray before = fileContent();
    // Room for the start of the new file, not for all of it.
    fillDiskLeaving(4096);
    const QString problem = backend.write(QStringLiteral("ALARM_2_MESSAGE_TEXTBOX"), QString(12000, u'z'));
    QVERIFY(!problem.isEmpty());
    QCOMPARE(fileContent(), before);
}

void SettingsOnSmallDiskTest::readOnlyFolderRefusesWritesAtOnceAndReadsGoOn()
{
    IniSettingsBackend backend(conf());
    QCOMPARE(backend.write(QStringLiteral("AlwaysOnTop_TICKBOX"), QStringLiteral("0")), QString());
    remount(MS_RDONLY);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!backend.write(QStringLiteral("AlwaysOnTop_TICKBOX"), QStringLiteral("1")).isEmpty());
    TIMING_VERIFY2(timer.elapsed() < 500, "a refused write must not hold up the program");
    // Reads go on from what the disk holds (the store above keeps the refused change for its reads).
    const StoredValue value = backend.read(QStringLiteral("AlwaysOnTop_TICKBOX"));
    QCOMPARE(int(value.kind), int(StoredValue::Kind::Text));
    QCOMPARE(value.text, QStringLiteral("0"));
    QVERIFY(fileContent().contains("AlwaysOnTop_TICKBOX=0"));
    remount(0);
}

void SettingsOnSmallDiskTest::writesCatchUpOnceTheCauseIsGone()
{
    IniSettingsBackend backend(conf());
    SettingsStore store(backend);
    QSignalSpy failures(&store, &SettingsStore::storeFailed);
    store.saveSetting(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1500"));
    remount(MS_RDONLY);
    store.saveSetting(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("2500"));
    store.saveSetting(QStringLiteral("ALARM_3_NAME_TEXTBOX"), QStringLiteral("Tea"));
    QVERIFY(failures.count() >= 1);
    QCOMPARE(store.getSetting(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("1000")),
             QStringLiteral("2500"));
    remount(0);
    store.saveSetting(QStringLiteral("ALARM_3_TIME_TEXTBOX"), QStringLiteral("16:00:00"));
    QVERIFY(!store.hasUnsavedWrites());
    IniSettingsBackend reader(conf());
    QCOMPARE(reader.read(QStringLiteral("CLOCK-MAIN-Left")).text, QStringLiteral("1500"));
    QCOMPARE(reader.read(QStringLiteral("CLOCK-MAIN-Top")).text, QStringLiteral("2500"));
    QCOMPARE(reader.read(QStringLiteral("ALARM_3_NAME_TEXTBOX")).text, QStringLiteral("Tea"));
    QCOMPARE(reader.read(QStringLiteral("ALARM_3_TIME_TEXTBOX")).text, QStringLiteral("16:00:00"));
}

QTEST_GUILESS_MAIN(SettingsOnSmallDiskTest)
#include "tst_settings_on_small_disk.moc"

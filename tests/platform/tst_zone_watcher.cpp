// SPDX-License-Identifier: GPL-3.0-or-later
// The real watcher on zone files in a temporary folder, replaced the ways the desktop replaces them:
// after each change the C library converts with the new zone.
#include "platform/InotifyZoneWatcher.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <ctime>

using namespace vqdbd;

namespace {

const QString kZones = QStringLiteral("/usr/share/zoneinfo/Etc/");

// How far ahead of UTC the local time now is, as the clock reads it.
long utcOffsetNow()
{
    const time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local.tm_gmtoff;
}

bool copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

bool renameOver(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

} // namespace

class ZoneWatcherTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void theLocalTimeFollowsTheZoneFile_data();
    void theLocalTimeFollowsTheZoneFile();

private:
    // Replaces the zone in `folder` by the zone file `source`, the way `how` says.
    bool replaceZone(const QString& folder, const QString& how, const QString& source, int step);
};

void ZoneWatcherTest::initTestCase()
{
    for (const char* zone : { "UTC", "GMT-3", "GMT+5" }) {
        if (!QFile::exists(kZones + QLatin1String(zone)))
            QSKIP("the time zone data is not installed");
    }
}

void ZoneWatcherTest::cleanup()
{
    qunsetenv("TZDIR");
    qputenv("TZ", "UTC");
    tzset();
}

bool ZoneWatcherTest::replaceZone(const QString& folder, const QString& how, const QString& source, int step)
{
    const QString zone = folder + QStringLiteral("/zone");
    if (how == u"rename") // a new file renamed over the old one, as package upgrades do
        return copy(source, zone + QStringLiteral(".new")) && renameOver(zone + QStringLiteral(".new"), zone);
    if (how == u"rewrite") { // the same file written again
        QFile from(source);
        QFile to(zone);
        return from.open(QIODevice::ReadOnly) && to.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && to.write(from.readAll()) > 0;
    }
    if (how == u"relink") { // a new link, to a zone in another folder, renamed over the old link
        const QString data = folder + QStringLiteral("/data%1").arg(step);
        return QDir().mkpath(data) && copy(source, data + QStringLiteral("/zone"))
            && QFile::link(data + QStringLiteral("/zone"), folder + QStringLiteral("/localtime.new"))
            && renameOver(folder + QStringLiteral("/localtime.new"), folder + QStringLiteral("/localtime"));
    }
    // "retarget": the file the link leads to renamed over
    const QString data = QFile::symLinkTarget(folder + QStringLiteral("/localtime"));
    return copy(source, data + QStringLiteral(".new")) && renameOver(data + QStringLiteral(".new"), data);
}

void ZoneWatcherTest::theLocalTimeFollowsTheZoneFile_data()
{
    QTest::addColumn<QString>("tz"); // "%1" stands for the folder, which is TZDIR too
    QTest::addColumn<QString>("change");
    QTest::newRow("TZ=:path, a new file renamed over it") << ":%1/zone"
                                                          << "rename";
    QTest::newRow("TZ=:path, the file written again") << ":%1/zone"
                                                      << "rewrite";
    QTest::newRow("TZ=name under TZDIR, a new file renamed over it") << "zone"
                                                                     << "rename";
    QTest::newRow("a link to the zone replaced, as /etc/localtime is") << ":%1/localtime"
                                                                       << "relink";
    QTest::newRow("the file a link leads to replaced") << ":%1/localtime"
                                                       << "retarget";
}

void ZoneWatcherTest::theLocalTimeFollowsTheZoneFile()
{
    QFETCH(QString, tz);
    QFETCH(QString, change);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(copy(kZones + QStringLiteral("UTC"), folder.filePath(QStringLiteral("zone"))));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("data0")));
    QVERIFY(copy(kZones + QStringLiteral("UTC"), folder.filePath(QStringLiteral("data0/zone"))));
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("data0/zone")),
                        folder.filePath(QStringLiteral("localtime"))));
    const QByteArray zone = QFile::encodeName(tz.contains(u"%1") ? tz.arg(folder.path()) : tz);
    qputenv("TZDIR", QFile::encodeName(folder.path()));
    qputenv("TZ", zone);
    tzset();
    QCOMPARE(utcOffsetNow(), 0L);

    InotifyZoneWatcher watcher;
    QSignalSpy changed(&watcher, &ZoneWatcher::zoneChanged);
    // Twice: the watch outlives the file it was first set on.
    const QList<std::pair<QString, long>> steps { { QStringLiteral("GMT-3"), 3 * 3600L },
                                                  { QStringLiteral("GMT+5"), -5 * 3600L } };
    for (int step = 1; step <= steps.size(); ++step) {
        const auto& [source, offset] = steps.at(step - 1);
        QVERIFY(replaceZone(folder.path(), change, kZones + source, step));
        QVERIFY(changed.wait());
        QCOMPARE(utcOffsetNow(), offset);
    }
    QCOMPARE(qgetenv("TZ"), zone);
}

QTEST_GUILESS_MAIN(ZoneWatcherTest)
#include "tst_zone_watcher.moc"

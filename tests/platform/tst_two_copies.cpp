// SPDX-License-Identifier: GPL-3.0-or-later
// Two copies of the program sharing one settings section: each keeps the other's keys, the last
// write of a shared key wins, and the file is never seen truncated or mixed.
#include "platform/IniSettingsBackend.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace vqdbd;

class TwoCopiesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bothCopiesKeepTheirKeysAndTheFileIsAlwaysWhole();
};

void TwoCopiesTest::bothCopiesKeepTheirKeysAndTheFileIsAlwaysWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VQ_DBD/vq-dbd.conf"));
    constexpr int kWrites = 150;
    QProcess first;
    QProcess second;
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(SETTINGS_WRITER), { path, QStringLiteral("FIRST"), QString::number(kWrites) });
    second.start(QStringLiteral(SETTINGS_WRITER),
                 { path, QStringLiteral("SECOND"), QString::number(kWrites) });

    int snapshots = 0;
    while (first.state() != QProcess::NotRunning || second.state() != QProcess::NotRunning) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray content = file.readAll();
            if (!content.isEmpty()) {
                ++snapshots;
                QVERIFY2(content.startsWith("[General]\n") && content.endsWith('\n'), content.constData());
                QVERIFY2(content.count('\n') >= 2, content.constData());
            }
        }
        first.waitForFinished(1);
        second.waitForFinished(1);
    }
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(snapshots > 0);

    IniSettingsBackend reader(path);
    QCOMPARE(reader.read(QStringLiteral("FIRST")).text, QStringLiteral("FIRST-%1").arg(kWrites));
    QCOMPARE(reader.read(QStringLiteral("SECOND")).text, QStringLiteral("SECOND-%1").arg(kWrites));
    const QString shared = reader.read(QStringLiteral("SHARED")).text;
    QVERIFY2(shared == QStringLiteral("FIRST-%1").arg(kWrites)
                 || shared == QStringLiteral("SECOND-%1").arg(kWrites),
             qPrintable(shared));
}

QTEST_GUILESS_MAIN(TwoCopiesTest)
#include "tst_two_copies.moc"

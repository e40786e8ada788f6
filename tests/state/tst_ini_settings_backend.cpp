#include "platform/IniSettingsBackend.h"
#include "state/Section.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace vqdbd;

class IniSettingsBackendTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void fileLivesInTheApplicationFolderUnderTheSectionName();
    void sectionIsTheProgramFileNameWithoutFolderOrExtension_data();
    void sectionIsTheProgramFileNameWithoutFolderOrExtension();
    void awkwardTextsReadBackExactly_data();
    void awkwardTextsReadBackExactly();
    void keysStandAtTheTopOfTheFileAsSpelled();
    void absentAndEmptyAreTold();
    void handWrittenListIsTheTextAsItStands_data();
    void handWrittenListIsTheTextAsItStands();
    void valueQtCannotReadIsDamaged();
    void storePathThatIsAFolderFailsReadsAndWrites();
    void fileIsPrivate();
    void twoWritersOfOneSectionKeepEachOthersKeys();
    void plantedSymlinkIsNeverFollowed_data();
    void plantedSymlinkIsNeverFollowed();
    void staleLockFromACrashDoesNotDelayAWrite();
    void fileDeletedWhileRunningIsWrittenAgain();

private:
    QString path() const { return dir_->filePath(QStringLiteral("VQ_DBD/vq-dbd.conf")); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void IniSettingsBackendTest::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void IniSettingsBackendTest::fileLivesInTheApplicationFolderUnderTheSectionName()
{
    qputenv("XDG_CONFIG_HOME", dir_->path().toLocal8Bit());
    QCOMPARE(IniSettingsBackend::defaultFilePath(QStringLiteral("deskclock2")),
             dir_->path() + QStringLiteral("/VQ_DBD/deskclock2.conf"));
}

void IniSettingsBackendTest::sectionIsTheProgramFileNameWithoutFolderOrExtension_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("section");
    QTest::newRow("built") << "/work/build/vq-dbd"
                           << "vq-dbd";
    QTest::newRow("renamed copy") << "./deskclock2"
                                  << "deskclock2";
    QTest::newRow("on PATH") << "vq-dbd"
                             << "vq-dbd";
    QTest::newRow("with extension") << "/opt/clock/vq-dbd.bin"
                                    << "vq-dbd";
    QTest::newRow("nothing") << ""
                             << "vq-dbd";
}

void IniSettingsBackendTest::sectionIsTheProgramFileNameWithoutFolderOrExtension()
{
    QFETCH(QString, program);
    QFETCH(QString, section);
    QCOMPARE(sectionForProgram(program), section);
}

void IniSettingsBackendTest::awkwardTextsReadBackExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("commas") << "a, b, c";
    QTest::newRow("comma without blank") << "a,b";
    QTest::newRow("quotes") << "say \"hi\" 'there'";
    QTest::newRow("leading at") << "@Invalid()";
    QTest::newRow("at only") << "@";
    QTest::newRow("backslashes") << "C:\\path\\to\\x \\\\n";
    QTest::newRow("newlines") << "line one\nline two\r\n";
    QTest::newRow("tab") << "a\tb";
    QTest::newRow("non-ASCII") << QStringLiteral("Tee um fünf – 茶 ☕");
    QTest::newRow("semicolon and hash") << "; not a comment # nor this";
    QTest::newRow("equals") << "a=b";
    QTest::newRow("brackets") << "[General]";
    QTest::newRow("surrounding blanks") << "  padded  ";
    QTest::newRow("empty") << "";
    QTest::newRow("shell command") << "sh -c 'echo hi >> ~/log'";
}

void IniSettingsBackendTest::awkwardTextsReadBackExactly()
{
    QFETCH(QString, text);
    {
        IniSettingsBackend writer(path());
        QCOMPARE(writer.write(QStringLiteral("ALARM_1_MESSAGE_TEXTBOX"), text), QString());
    }
    IniSettingsBackend reader(path());
    const StoredValue value = reader.read(QStringLiteral("ALARM_1_MESSAGE_TEXTBOX"));
    QCOMPARE(int(value.kind), int(StoredValue::Kind::Text));
    QCOMPARE(value.text, text);
}

void IniSettingsBackendTest::keysStandAtTheTopOfTheFileAsSpelled()
{
    IniSettingsBackend backend(path());
    QCOMPARE(backend.write(QStringLiteral("ALARM_3-NOTIFICATION-MESSAGE-Top"), QStringLiteral("-1500.5")),
             QString());
    QCOMPARE(backend.write(QStringLiteral("AlwaysOnTop_TICKBOX"), QStringLiteral("1")), QString());
    QFile file(path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    QVERIFY2(content.startsWith(QStringLiteral("[General]\n")), qPrintable(content));
    QVERIFY2(content.contains(QStringLiteral("\nALARM_3-NOTIFICATION-MESSAGE-Top=-1500.5\n")),
             qPrintable(content));
    QVERIFY2(content.contains(QStringLiteral("\nAlwaysOnTop_TICKBOX=1\n")), qPrintable(content));
}

void IniSettingsBackendTest::absentAndEmptyAreTold()
{
    IniSettingsBackend backend(path());
    QCOMPARE(int(backend.read(QStringLiteral("X")).kind), int(StoredValue::Kind::Absent));
    QCOMPARE(backend.write(QStringLiteral("X"), QString()), QString());
    const StoredValue empty = backend.read(QStringLiteral("X"));
    QCOMPARE(int(empty.kind), int(StoredValue::Kind::Text));
    QVERIFY(empty.text.isEmpty());
    QCOMPARE(int(backend.read(QStringLiteral("x")).kind), int(StoredValue::Kind::Absent));
}

void IniSettingsBackendTest::handWrittenListIsTheTextAsItStands_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("blank after comma") << "a, b"
                                       << "a, b";
    QTest::newRow("no blank") << "1,2"
                              << "1,2";
    QTest::newRow("trailing comma") << "x,"
                                    << "x,";
}

void IniSettingsBackendTest::handWrittenListIsTheTextAsItStands()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QDir().mkpath(QFileInfo(path()).path());
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\nALARM_1_NAME_TEXTBOX=" + line.toUtf8() + "\nOTHER=1\n");
    file.close();
    IniSettingsBackend backend(path());
    const StoredValue value = backend.read(QStringLiteral("ALARM_1_NAME_TEXTBOX"));
    QCOMPARE(int(value.kind), int(StoredValue::Kind::Text));
    QCOMPARE(value.text, expected);
}

void IniSettingsBackendTest::valueQtCannotReadIsDamaged()
{
    QDir().mkpath(QFileInfo(path()).path());
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\nCLOCK-MAIN-Left=@Invalid()\n");
    file.close();
    IniSettingsBackend backend(path());
    const StoredValue value = backend.read(QStringLiteral("CLOCK-MAIN-Left"));
    QCOMPARE(int(value.kind), int(StoredValue::Kind::Unreadable));
    QCOMPARE(value.text, QStringLiteral("@Invalid()"));
}

void IniSettingsBackendTest::storePathThatIsAFolderFailsReadsAndWrites()
{
    QVERIFY(QDir().mkpath(path()));
    IniSettingsBackend backend(path());
    QCOMPARE(int(backend.read(QStringLiteral("CLOCK-MAIN-Left")).kind), int(StoredValue::Kind::Failed));
    QVERIFY(!backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1")).isEmpty());
}

void IniSettingsBackendTest::fileIsPrivate()
{
    IniSettingsBackend backend(path());
    QCOMPARE(backend.write(QStringLiteral("K"), QStringLiteral("v")), QString());
    struct stat fileStat
    {
    };
    struct stat folderStat
    {
    };
    QCOMPARE(::stat(QFile::encodeName(path()).constData(), &fileStat), 0);
    QCOMPARE(::stat(QFile::encodeName(QFileInfo(path()).path()).constData(), &folderStat), 0);
    QCOMPARE(fileStat.st_mode & 0777, 0600u);
    QCOMPARE(folderStat.st_mode & 0777, 0700u);
}

void IniSettingsBackendTest::twoWritersOfOneSectionKeepEachOthersKeys()
{
    IniSettingsBackend first(path());
    IniSettingsBackend second(path());
    QCOMPARE(first.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("100")), QString());
    QCOMPARE(second.write(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("200")), QString());
    QCOMPARE(first.write(QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("300")), QString());
    IniSettingsBackend reader(path());
    QCOMPARE(reader.read(QStringLiteral("CLOCK-MAIN-Left")).text, QStringLiteral("100"));
    QCOMPARE(reader.read(QStringLiteral("CLOCK-MAIN-Top")).text, QStringLiteral("300"));
}

void IniSettingsBackendTest::plantedSymlinkIsNeverFollowed_data()
{
    QTest::addColumn<bool>("linkIsOthers");
    QTest::addColumn<bool>("targetIsOthers");
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("followed");
    QTest::newRow("own link to own file") << false << false << true << true;
    QTest::newRow("own link to another user's file") << false << true << true << false;
    QTest::newRow("link planted by another user") << true << false << true << false;
    QTest::newRow("link to nowhere") << false << false << false << false;
}

void IniSettingsBackendTest::plantedSymlinkIsNeverFollowed()
{
    QFETCH(bool, linkIsOthers);
    QFETCH(bool, targetIsOthers);
    QFETCH(bool, targetExists);
    QFETCH(bool, followed);
    if ((linkIsOthers || targetIsOthers) && ::geteuid() != 0)
        QSKIP("making a file of another user needs root");
    constexpr uid_t kOtherUser = 65534;
    const QString target = dir_->filePath(QStringLiteral("victim"));
    const QByteArray original = "[General]\nSECRET=keep me\n";
    if (targetExists) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(original);
        file.close();
        if (targetIsOthers)
            QCOMPARE(::chown(QFile::encodeName(target).constData(), kOtherUser, kOtherUser), 0);
    }
    QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
    QVERIFY(QFile::link(target, path()));
    if (linkIsOthers)
        QCOMPARE(::lchown(QFile::encodeName(path()).constData(), kOtherUser, kOtherUser), 0);

    IniSettingsBackend backend(path());
    const QString problem = backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1000"));
    QCOMPARE(problem.isEmpty(), followed);
    QCOMPARE(backend.read(QStringLiteral("SECRET")).kind == StoredValue::Kind::Failed, !followed);
    if (!followed) {
        QFile file(target);
        if (targetExists) {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), original);
        } else {
            QVERIFY(!file.exists());
        }
    }
}

void IniSettingsBackendTest::staleLockFromACrashDoesNotDelayAWrite()
{
    QProcess crashed;
    crashed.start(QStringLiteral("true"), {});
    QVERIFY(crashed.waitForFinished());
    const qint64 deadPid = crashed.processId() > 0 ? crashed.processId() : 4194303;
    QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
    QFile lock(path() + QStringLiteral(".lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid) + "\nvq-dbd\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();

    QElapsedTimer timer;
    timer.start();
    IniSettingsBackend backend(path());
    QCOMPARE(backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1000")), QString());
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(backend.read(QStringLiteral("CLOCK-MAIN-Left")).text, QStringLiteral("1000"));
}

void IniSettingsBackendTest::fileDeletedWhileRunningIsWrittenAgain()
{
    IniSettingsBackend backend(path());
    QCOMPARE(backend.write(QStringLiteral("A"), QStringLiteral("1")), QString());
    QVERIFY(QFile::remove(path()));
    QCOMPARE(int(backend.read(QStringLiteral("A")).kind), int(StoredValue::Kind::Absent));
    QCOMPARE(backend.write(QStringLiteral("B"), QStringLiteral("2")), QString());
    IniSettingsBackend reader(path());
    QCOMPARE(reader.read(QStringLiteral("B")).text, QStringLiteral("2"));
}

QTEST_GUILESS_MAIN(IniSettingsBackendTest)
#include "tst_ini_settings_backend.moc"

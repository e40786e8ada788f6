// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingNotice.h"
#include "Timing.h"
#include "platform/IniSettingsBackend.h"
#include "state/Section.h"
#include "state/SettingsStore.h"
#include "ui/StoreProblemReporter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
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
    void onlyTheUsersOwnSymlinkIsFollowed_data();
    void onlyTheUsersOwnSymlinkIsFollowed();
    void pathThatIsNotARegularFileIsRefusedAtOnce_data();
    void pathThatIsNotARegularFileIsRefusedAtOnce();
    void staleLockFromACrashDoesNotDelayAWrite();
    void heldLockRefusesTheWriteWithinItsWait_data();
    void heldLockRefusesTheWriteWithinItsWait();
    void fileDeletedWhileRunningIsWrittenAgain();
    void oneWriteOfManyKeysGivesTheFileOfTheSingleWrites_data();
    void oneWriteOfManyKeysGivesTheFileOfTheSingleWrites();
    void readsComeFromMemoryUntilTheFileChanges();
    void handEditedFileReadsAsThePersonMeant_data();
    void handEditedFileReadsAsThePersonMeant();

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

void IniSettingsBackendTest::onlyTheUsersOwnSymlinkIsFollowed_data()
{
    QTest::addColumn<bool>("linkIsOthers");
    QTest::addColumn<bool>("targetIsOthers"); // the file, or the folder of a file not made yet
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<bool>("followed");
    QTest::newRow("own link to own file") << false << false << true << true;
    QTest::newRow("own link to a file not made yet in an own folder") << false << false << false << true;
    QTest::newRow("own link to another user's file") << false << true << true << false;
    QTest::newRow("own link into another user's folder") << false << true << false << false;
    QTest::newRow("link planted by another user") << true << false << true << false;
}

void IniSettingsBackendTest::onlyTheUsersOwnSymlinkIsFollowed()
{
    QFETCH(bool, linkIsOthers);
    QFETCH(bool, targetIsOthers);
    QFETCH(bool, targetExists);
    QFETCH(bool, followed);
    if ((linkIsOthers || targetIsOthers) && ::geteuid() != 0)
        QSKIP("making a file of another user needs root");
    constexpr uid_t kOtherUser = 65534;
    const QString folder = dir_->filePath(QStringLiteral("dotfiles"));
    const QString target = folder + QStringLiteral("/victim");
    QVERIFY(QDir().mkpath(folder));
    const QByteArray original = "[General]\nSECRET=keep me\n";
    if (targetExists) {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(original);
        file.close();
    }
    if (targetIsOthers)
        QCOMPARE(
            ::chown(QFile::encodeName(targetExists ? target : folder).constData(), kOtherUser, kOtherUser),
            0);
    QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
    QVERIFY(QFile::link(target, path()));
    if (linkIsOthers)
        QCOMPARE(::lchown(QFile::encodeName(path()).constData(), kOtherUser, kOtherUser), 0);

    IniSettingsBackend backend(path());
    const QString problem = backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1000"));
    QCOMPARE(problem.isEmpty(), followed);
    QCOMPARE(backend.read(QStringLiteral("CLOCK-MAIN-Left")).kind == StoredValue::Kind::Failed, !followed);
    QFile file(target);
    if (followed) {
        // The link stays a link; the file it leads to holds the settings.
        QVERIFY(QFileInfo(path()).isSymLink());
        QCOMPARE(IniSettingsBackend(target).read(QStringLiteral("CLOCK-MAIN-Left")).text,
                 QStringLiteral("1000"));
        QCOMPARE(backend.read(QStringLiteral("SECRET")).text,
                 targetExists ? QStringLiteral("keep me") : QString());
    } else {
        QVERIFY2(problem.contains(QStringLiteral("not yours")), qPrintable(problem));
        if (targetExists) {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), original);
        } else {
            QVERIFY(!file.exists());
        }
    }
}

void IniSettingsBackendTest::pathThatIsNotARegularFileIsRefusedAtOnce_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("named");
    QTest::newRow("named pipe") << "fifo"
                                << "a named pipe";
    QTest::newRow("own link to a device") << "device link"
                                          << "a device";
    QTest::newRow("folder") << "folder"
                            << "a folder";
}

void IniSettingsBackendTest::pathThatIsNotARegularFileIsRefusedAtOnce()
{
    QFETCH(QString, kind);
    QFETCH(QString, named);
    QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
    const QByteArray name = QFile::encodeName(path());
    if (kind == QStringLiteral("fifo"))
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    else if (kind == QStringLiteral("device link"))
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), path()));
    else
        QVERIFY(QDir().mkpath(path()));

    // Nothing may block on it (a pipe with no writer would hold open() for ever).
    IniSettingsBackend backend(path());
    const StoredValue value = backend.read(QStringLiteral("CLOCK-MAIN-Left"));
    QCOMPARE(int(value.kind), int(StoredValue::Kind::Failed));
    QVERIFY2(value.reason.contains(named), qPrintable(value.reason));
    const QString problem = backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1"));
    QVERIFY2(problem.contains(named), qPrintable(problem));
    struct stat after
    {
    };
    QCOMPARE(::lstat(name.constData(), &after), 0);
    QVERIFY(!S_ISREG(after.st_mode));
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
    TIMING_VERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(backend.read(QStringLiteral("CLOCK-MAIN-Left")).text, QStringLiteral("1000"));
}

void IniSettingsBackendTest::heldLockRefusesTheWriteWithinItsWait_data()
{
    QTest::addColumn<bool>("liveHolder");
    QTest::newRow("fresh empty lock file") << false;
    QTest::newRow("lock held by a live process") << true;
}

void IniSettingsBackendTest::heldLockRefusesTheWriteWithinItsWait()
{
    QFETCH(bool, liveHolder);
    IniSettingsBackend backend(path());
    QCOMPARE(backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1000")), QString());
    QProcess holder;
    if (liveHolder) {
        holder.start(QStringLiteral(SETTINGS_WRITER), { path(), QStringLiteral("--hold-lock") });
        QVERIFY(holder.waitForReadyRead(5000));
        QCOMPARE(holder.readLine(), QByteArray("locked\n"));
    } else {
        QFile lock(path() + QStringLiteral(".lock"));
        QVERIFY(lock.open(QIODevice::WriteOnly)); // another writer that has just begun, or crashed
    }

    QElapsedTimer timer;
    timer.start();
    const QString problem = backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("2000"));
    TIMING_VERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(problem.contains(QStringLiteral("lock")), qPrintable(problem));
    QCOMPARE(IniSettingsBackend(path()).read(QStringLiteral("CLOCK-MAIN-Left")).text, QStringLiteral("1000"));

    if (liveHolder) {
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(5000));
    } else {
        QVERIFY(QFile::remove(path() + QStringLiteral(".lock")));
    }
    QCOMPARE(backend.write(QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("2000")), QString());
    QCOMPARE(IniSettingsBackend(path()).read(QStringLiteral("CLOCK-MAIN-Left")).text, QStringLiteral("2000"));
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

void IniSettingsBackendTest::oneWriteOfManyKeysGivesTheFileOfTheSingleWrites_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("written by the program")
        << QByteArray("[General]\nALARM_1_NAME_TEXTBOX=Tea\nCLOCK-MAIN-Left=1000\n");
    QTest::newRow("edited by hand") << QByteArray("; my clock\r\nCLOCK-MAIN-Top=5\r\n\r\n[Other]\nx=1\n");
}

void IniSettingsBackendTest::oneWriteOfManyKeysGivesTheFileOfTheSingleWrites()
{
    QFETCH(QByteArray, before);
    const SettingChanges changes
        = { { QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1500") },
            { QStringLiteral("ALARM_2_NAME_TEXTBOX"), QStringLiteral("Tea, strong") },
            { QStringLiteral("CLOCK-MAIN-Top"), QStringLiteral("-30") },
            { QStringLiteral("CLOCK-MAIN-Left"), QStringLiteral("1515") } };
    const auto fileAfter = [&](const QString& name, bool oneWrite) {
        const QString file = dir_->filePath(name);
        if (!before.isEmpty()) {
            QFile seed(file);
            if (!seed.open(QIODevice::WriteOnly) || seed.write(before) != before.size())
                return QByteArray("cannot seed");
        }
        IniSettingsBackend backend(file);
        if (oneWrite) {
            if (!backend.write(changes).isEmpty())
                return QByteArray("one write failed");
        } else {
            for (const auto& [key, text] : changes) {
                if (!backend.write(key, text).isEmpty())
                    return QByteArray("a single write failed");
            }
        }
        QFile result(file);
        return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray("unreadable");
    };
    const QByteArray single = fileAfter(QStringLiteral("single.conf"), false);
    QCOMPARE(fileAfter(QStringLiteral("batch.conf"), true), single);
    QSettings qt(dir_->filePath(QStringLiteral("batch.conf")), QSettings::IniFormat);
    QCOMPARE(qt.value(QStringLiteral("CLOCK-MAIN-Left")).toString(), QStringLiteral("1515"));
    QCOMPARE(qt.value(QStringLiteral("ALARM_2_NAME_TEXTBOX")).toString(), QStringLiteral("Tea, strong"));
}

namespace {

// Read system calls this process has made so far.
qint64 readCalls()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("syscr:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

} // namespace

void IniSettingsBackendTest::readsComeFromMemoryUntilTheFileChanges()
{
    IniSettingsBackend backend(path());
    SettingChanges alarms;
    for (int n = 1; n <= 10; ++n)
        alarms.push_back({ QStringLiteral("ALARM_%1_MESSAGE_TEXTBOX").arg(n), QString(1000, u'x') });
    QCOMPARE(backend.write(alarms), QString());
    QCOMPARE(backend.read(QStringLiteral("ALARM_1_MESSAGE_TEXTBOX")).text.size(), 1000);

    const qint64 counting = readCalls(); // asking costs read calls of its own
    const qint64 before = readCalls();
    QVERIFY(counting >= 0);
    for (int i = 0; i < 158; ++i)
        QCOMPARE(int(backend.read(QStringLiteral("ALARM_%1_MESSAGE_TEXTBOX").arg(i % 10 + 1)).kind),
                 int(StoredValue::Kind::Text));
    QCOMPARE(readCalls() - before, before - counting);

    // Another copy's write is seen at the next read.
    QCOMPARE(
        IniSettingsBackend(path()).write(QStringLiteral("ALARM_1_MESSAGE_TEXTBOX"), QStringLiteral("new")),
        QString());
    QCOMPARE(backend.read(QStringLiteral("ALARM_1_MESSAGE_TEXTBOX")).text, QStringLiteral("new"));
    QVERIFY(readCalls() > before);
}

void IniSettingsBackendTest::handEditedFileReadsAsThePersonMeant_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("told"); // what the one notice says, or empty for no notice
    const QByteArray left = "CLOCK-MAIN-Left=1500\n";
    QTest::newRow("byte-order mark") << "\xEF\xBB\xBF[General]\n" + left << "CLOCK-MAIN-Left"
                                     << "1500"
                                     << "";
    QTest::newRow("hash comment") << "[General]\n# moved by hand\n" + left << "CLOCK-MAIN-Left"
                                  << "1500"
                                  << "";
    QTest::newRow("semicolon comment") << "; moved by hand\n[General]\n" + left << "CLOCK-MAIN-Left"
                                       << "1500"
                                       << "";
    QTest::newRow("CRLF line ends") << QByteArray("[General]\r\nCLOCK-MAIN-Left=1500\r\nCLOCK-MAIN-Top=9\r\n")
                                    << "CLOCK-MAIN-Left"
                                    << "1500"
                                    << "";
    QTest::newRow("key before any section") << left + "[Other]\nCLOCK-MAIN-Left=7\n"
                                            << "CLOCK-MAIN-Left"
                                            << "1500"
                                            << "";
    QTest::newRow("repeated key, last wins") << "[General]\nCLOCK-MAIN-Left=1\n" + left << "CLOCK-MAIN-Left"
                                             << "1500"
                                             << "";
    QTest::newRow("stray line") << "[General]\nleft is 1500\n" + left << "CLOCK-MAIN-Left"
                                << "1500"
                                << "line 2: \"left is 1500\" is not a setting";
    QTest::newRow("unquoted semicolon")
        << QByteArray("[General]\nALARM_1_NAME_TEXTBOX=Tea; strong\n") << "ALARM_1_NAME_TEXTBOX"
        << "Tea"
        << "ALARM_1_NAME_TEXTBOX";
    QTest::newRow("quotes") << QByteArray("[General]\nALARM_1_MESSAGE_TEXTBOX=Say \"hi\"\n")
                            << "ALARM_1_MESSAGE_TEXTBOX"
                            << "Say hi"
                            << "ALARM_1_MESSAGE_TEXTBOX";
    QTest::newRow("backslashes") << QByteArray("[General]\nALARM_1_RUN_COMMAND_TEXTBOX=C:\\temp\\new\n")
                                 << "ALARM_1_RUN_COMMAND_TEXTBOX"
                                 << "C:\temp\new"
                                 << "ALARM_1_RUN_COMMAND_TEXTBOX";
    QTest::newRow("written by the program")
        << QByteArray("[General]\nALARM_1_NAME_TEXTBOX=\"Tea; strong\"\n") << "ALARM_1_NAME_TEXTBOX"
        << "Tea; strong"
        << "";
}

void IniSettingsBackendTest::handEditedFileReadsAsThePersonMeant()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QFETCH(QString, told);
    QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    IniSettingsBackend backend(path());
    SettingsStore store(backend);
    test::RecordingNotice notice;
    StoreProblemReporter reporter(store, notice);
    QCOMPARE(store.getSetting(key, QStringLiteral("default")), expected);
    QCOMPARE(store.readPosition(QStringLiteral("CLOCK-MAIN-Top"), 1000),
             content.contains("Top=9") ? 9.0f : 1000.0f);
    QCoreApplication::processEvents();
    if (told.isEmpty()) {
        QCOMPARE(notice.texts, QStringList());
    } else {
        QCOMPARE(notice.texts.size(), 1);
        QVERIFY2(notice.texts.at(0).contains(told), qPrintable(notice.texts.at(0)));
    }

    // A rewrite keeps what the person wrote around the keys.
    store.saveSetting(QStringLiteral("CLOCK-MAIN-Width"), QStringLiteral("3585"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rewritten = file.readAll();
    file.close();
    for (const QByteArray& kept : { QByteArray("# moved by hand"), QByteArray("; moved by hand"),
                                    QByteArray("left is 1500"), QByteArray("[Other]") }) {
        if (content.contains(kept))
            QVERIFY2(rewritten.contains(kept), rewritten.constData());
    }
    QCOMPARE(IniSettingsBackend(path()).read(key).text, expected);
}

QTEST_MAIN(IniSettingsBackendTest)
#include "tst_ini_settings_backend.moc"

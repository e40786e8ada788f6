#include "IniSettingsBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

namespace vqdbd {

namespace {

constexpr auto kPrivateFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr auto kPrivateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QString statusReason(QSettings::Status status, const QString& path)
{
    switch (status) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return QStringLiteral("cannot access %1").arg(path);
    case QSettings::FormatError:
        return QStringLiteral("%1 is not a readable settings file").arg(path);
    }
    return QStringLiteral("unknown error on %1").arg(path);
}

} // namespace

IniSettingsBackend::IniSettingsBackend(QString filePath)
    : filePath_(std::move(filePath))
{ }

QString IniSettingsBackend::defaultFilePath(const QString& section)
{
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return configHome + QStringLiteral("/VQ_DBD/") + section + QStringLiteral(".conf");
}

QString IniSettingsBackend::plantedLinkProblem() const
{
    // A settings file that is a symbolic link is followed only when both the link and what it points
    // to belong to this user (a dotfile manager's link); a link planted by someone else, or one into
    // another user's file (or to nowhere, which a write would create), is left alone.
    const QByteArray path = QFile::encodeName(filePath_);
    struct stat link
    {
    };
    if (::lstat(path.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
        return {};
    struct stat target
    {
    };
    if (link.st_uid != ::geteuid() || ::stat(path.constData(), &target) != 0 || target.st_uid != ::geteuid())
        return QStringLiteral("%1 is a symbolic link to a file that is not yours; it is left alone")
            .arg(filePath_);
    return {};
}

StoredValue IniSettingsBackend::read(const QString& key)
{
    if (QString problem = plantedLinkProblem(); !problem.isEmpty())
        return { StoredValue::Kind::Failed, {}, problem };
    const QFileInfo info(filePath_);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.isDir() || !info.isReadable())
        return { StoredValue::Kind::Failed, {}, QStringLiteral("cannot read %1").arg(filePath_) };

    // A fresh QSettings each time: its status is sticky, and Qt shares the parsed file between
    // instances, re-reading it only when it changed on disk.
    QSettings settings(filePath_, QSettings::IniFormat);
    const bool present = settings.contains(key);
    // An access error here is Qt failing to write back a change that an earlier refused write left
    // pending; the file itself was readable (checked above), so what it holds still stands.
    if (settings.status() == QSettings::FormatError)
        return { StoredValue::Kind::Failed, {}, statusReason(settings.status(), filePath_) };
    if (!present)
        return {};

    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QString)
        return { StoredValue::Kind::Text, value.toString(), {} };
    // An unquoted "a, b" written by hand reads as a list: the text is what stands in the file.
    if (value.typeId() == QMetaType::QStringList)
        return { StoredValue::Kind::Text, rawValueInFile(key), {} };
    return { StoredValue::Kind::Unreadable, rawValueInFile(key), {} };
}

QString IniSettingsBackend::write(const QString& key, const QString& text)
{
    if (QString problem = prepareFolder(); !problem.isEmpty())
        return problem;
    if (QFileInfo(filePath_).isDir())
        return QStringLiteral("%1 is a folder").arg(filePath_);
    if (QString problem = plantedLinkProblem(); !problem.isEmpty())
        return problem;

    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setValue(key, text);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return statusReason(settings.status(), filePath_);

    QFile file(filePath_);
    if (file.permissions() != kPrivateFile)
        file.setPermissions(kPrivateFile);
    return {};
}

QString IniSettingsBackend::prepareFolder() const
{
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (QFileInfo(folder).isDir())
        return {};
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create the folder %1").arg(folder);
    QFile::setPermissions(folder, kPrivateFolder);
    return {};
}

QString IniSettingsBackend::rawValueInFile(const QString& key) const
{
    QFile file(filePath_);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inGeneral = true;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'[')) {
            inGeneral = line.compare(QStringLiteral("[General]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inGeneral && equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

} // namespace vqdbd

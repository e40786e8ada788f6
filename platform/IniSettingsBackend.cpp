// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniSettingsBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace vqdbd {

namespace {

constexpr auto kPrivateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QString lockProblem(const QLockFile& lock, const QString& path)
{
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        return QStringLiteral("%1 is being written by another program (its lock %1.lock is held)").arg(path);
    case QLockFile::PermissionError:
        return QStringLiteral("cannot create the lock %1.lock").arg(path);
    case QLockFile::NoError:
    case QLockFile::UnknownError:
        break;
    }
    return QStringLiteral("cannot take the lock %1.lock").arg(path);
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

QString IniSettingsBackend::refresh(const QString& target)
{
    const settingsfile::Stamp now = settingsfile::stampOf(target);
    if (loaded_ && now == stamp_)
        return {};
    settingsfile::Content content = settingsfile::read(target);
    if (!content.problem.isEmpty()) {
        loaded_ = false;
        return content.problem;
    }
    document_ = IniDocument::parse(content.bytes);
    stamp_ = content.stamp;
    loaded_ = true;
    for (const QString& line : document_.ignoredLines())
        notes_.append(target + QStringLiteral(", ") + line);
    return {};
}

StoredValue IniSettingsBackend::read(const QString& key)
{
    const settingsfile::Target target = settingsfile::resolve(filePath_);
    if (!target.problem.isEmpty())
        return { StoredValue::Kind::Failed, {}, target.problem };
    if (QString problem = refresh(target.path); !problem.isEmpty())
        return { StoredValue::Kind::Failed, {}, problem };

    const std::optional<IniValue> value = document_.value(key);
    if (!value)
        return {};
    if (!value->readable)
        return { StoredValue::Kind::Unreadable, value->text, {} };
    return { StoredValue::Kind::Text, value->text, {}, value->remark };
}

QString IniSettingsBackend::write(const SettingChanges& changes, std::chrono::milliseconds lockWait)
{
    if (QString problem = prepareFolder(); !problem.isEmpty())
        return problem;
    const settingsfile::Target target = settingsfile::resolve(filePath_);
    if (!target.problem.isEmpty())
        return target.problem;

    // The lock keeps two copies from overwriting each other's keys; it is the same lock file that
    // QSettings takes, so older copies of the program keep to it too.
    QLockFile lock(target.path + QStringLiteral(".lock"));
    if (!lock.tryLock(static_cast<int>(lockWait.count())))
        return lockProblem(lock, target.path);

    if (QString problem = refresh(target.path); !problem.isEmpty())
        return problem;
    IniDocument changed = document_;
    bool anyChange = false;
    for (const auto& [key, text] : changes)
        anyChange = changed.setValue(key, text) || anyChange;
    // A file that already says all this is left alone: nothing to write, and no disk to wait for.
    if (stamp_.exists && !anyChange)
        return {};
    if (QString problem = settingsfile::replace(target.path, changed.toBytes()); !problem.isEmpty())
        return problem;
    document_ = std::move(changed);
    stamp_ = settingsfile::stampOf(target.path);
    return {};
}

QStringList IniSettingsBackend::takeNotes()
{
    return std::exchange(notes_, {});
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

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IniDocument.h"
#include "SettingsFile.h"
#include "platform/SettingsBackend.h"

namespace vqdbd {

// Settings in an INI file that Qt's IniFormat reads and a person can edit, one file per section:
// $XDG_CONFIG_HOME/VQ_DBD/<section>.conf, keys at the top level of the file. Reads come from the
// parsed file in memory, parsed again only when the file changed on disk. A write takes the lock
// beside the file (the one QSettings takes), merges the changes into what is on disk now, and
// replaces the file whole, or leaves it untouched.
class IniSettingsBackend final : public SettingsBackend
{
public:
    explicit IniSettingsBackend(QString filePath);

    static QString defaultFilePath(const QString& section);
    const QString& filePath() const { return filePath_; }

    using SettingsBackend::write;
    StoredValue read(const QString& key) override;
    QString write(const SettingChanges& changes, std::chrono::milliseconds lockWait) override;
    QStringList takeNotes() override;

private:
    // Brings the parsed file up to date with the disk; returns why it could not, or empty.
    QString refresh(const QString& target);
    QString prepareFolder() const;

    QString filePath_;
    IniDocument document_;
    settingsfile::Stamp stamp_;
    bool loaded_ = false;
    QStringList notes_;
};

} // namespace vqdbd

#pragma once

#include "SettingsBackend.h"

namespace vqdbd {

// Settings in an INI file through QSettings, one file per section:
// $XDG_CONFIG_HOME/VQ_DBD/<section>.conf, keys at the top level of the file.
class IniSettingsBackend final : public SettingsBackend
{
public:
    explicit IniSettingsBackend(QString filePath);

    static QString defaultFilePath(const QString& section);
    const QString& filePath() const { return filePath_; }

    StoredValue read(const QString& key) override;
    QString write(const QString& key, const QString& text) override;

private:
    QString rawValueInFile(const QString& key) const;
    QString prepareFolder() const;
    QString plantedLinkProblem() const;

    QString filePath_;
};

} // namespace vqdbd

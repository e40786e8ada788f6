// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SettingsBackend.h"

#include <QMap>
#include <QSet>
#include <QStringList>

namespace vqdbd::test {

// A settings store in memory that remembers the order of every read and write and can be told to
// fail, or to hold values that are damaged.
class MemorySettingsBackend final : public SettingsBackend
{
public:
    using SettingsBackend::write;
    StoredValue read(const QString& key) override;
    QString write(const SettingChanges& changes, std::chrono::milliseconds lockWait) override;

    QMap<QString, QString> values;
    QSet<QString> unreadable; // keys whose value is there but is not text
    bool failReads = false;
    bool failWrites = false;
    QStringList readLog;
    QStringList writeLog; // "KEY=text", in order
    int commits = 0; // successful writes, each of one or more keys
    std::chrono::milliseconds lastLockWait { -1 };

    QString value(const QString& key) const { return values.value(key); }
    bool has(const QString& key) const { return values.contains(key); }
};

} // namespace vqdbd::test

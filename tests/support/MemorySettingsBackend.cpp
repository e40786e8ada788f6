// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemorySettingsBackend.h"

namespace vqdbd::test {

StoredValue MemorySettingsBackend::read(const QString& key)
{
    readLog.append(key);
    if (failReads)
        return { StoredValue::Kind::Failed, {}, QStringLiteral("reads refused") };
    if (unreadable.contains(key))
        return { StoredValue::Kind::Unreadable, values.value(key), {} };
    if (!values.contains(key))
        return {};
    return { StoredValue::Kind::Text, values.value(key), {} };
}

QString MemorySettingsBackend::write(const SettingChanges& changes, std::chrono::milliseconds lockWait)
{
    lastLockWait = lockWait;
    if (failWrites)
        return QStringLiteral("writes refused");
    for (const auto& [key, text] : changes) {
        writeLog.append(key + u'=' + text);
        values.insert(key, text);
        unreadable.remove(key);
    }
    ++commits;
    return {};
}

} // namespace vqdbd::test

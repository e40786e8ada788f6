// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <utility>
#include <vector>

namespace vqdbd {

// What the backing store holds under one key.
struct StoredValue
{
    enum class Kind
    {
        Absent, // no such key: the caller's default applies
        Text, // the key holds text (possibly empty)
        Unreadable, // the key is there but its value is not text (damaged by hand)
        Failed, // the store itself could not be read
    };
    Kind kind = Kind::Absent;
    QString text; // the value, or for Unreadable the raw text as it stands in the file
    QString reason; // for Failed: why
    // For Text: set when the text read differs from what stands in the store in a way a person
    // editing it by hand may not have meant (what stands there, and what was read).
    QString remark = {};
};

// Keys and texts in the order they were set; a later change of a key wins.
using SettingChanges = std::vector<std::pair<QString, QString>>;

// The per-user store of named text values, one set per section.
class SettingsBackend
{
public:
    virtual ~SettingsBackend() = default;
    virtual StoredValue read(const QString& key) = 0;
    // Writes every change durably in one step: afterwards the store holds all of them or, on
    // failure, none. Waits at most lockWait for another writer. Returns an empty string on
    // success, otherwise the reason it failed.
    virtual QString write(const SettingChanges& changes, std::chrono::milliseconds lockWait) = 0;
    QString write(const SettingChanges& changes) { return write(changes, kUsualLockWait); }
    QString write(const QString& key, const QString& text) { return write(SettingChanges { { key, text } }); }
    // What the store noticed about its content as a whole since the last call (lines it ignored).
    virtual QStringList takeNotes() { return {}; }

    // Long enough for another copy's write to finish, short enough not to hold up the clock.
    static constexpr std::chrono::milliseconds kUsualLockWait { 100 };
};

} // namespace vqdbd

#pragma once

#include <QString>

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
};

// The per-user store of named text values, one set per section.
class SettingsBackend
{
public:
    virtual ~SettingsBackend() = default;
    virtual StoredValue read(const QString& key) = 0;
    // Writes the text durably; returns an empty string on success, otherwise the reason it failed.
    virtual QString write(const QString& key, const QString& text) = 0;
};

} // namespace vqdbd

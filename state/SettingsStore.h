#pragma once

#include "platform/SettingsBackend.h"

#include <QObject>
#include <QString>
#include <utility>
#include <vector>

namespace vqdbd {

// The program's settings: getSetting/saveSetting over a backing store, plus reads by value form.
// A stored value that does not convert to its form is read as the key's default and reported; the
// stored text stays until the program writes that key itself. A write the store refuses is kept and
// retried with the next write, and reads see it meanwhile, so the running program loses nothing.
class SettingsStore final : public QObject
{
    Q_OBJECT
public:
    explicit SettingsStore(SettingsBackend& backend, QObject* parent = nullptr);

    // The stored text, or the default when the key is absent (present and empty gives empty text).
    QString getSetting(const QString& key, const QString& defaultText);
    void saveSetting(const QString& key, const QString& text);

    int readSwitch(const QString& key, int defaultValue);
    qint32 readColour(const QString& key, qint32 defaultValue);
    // Left and Top may be any coordinate; a Width or Height must be more than zero.
    float readPosition(const QString& key, float defaultValue);
    float readSize(const QString& key, float defaultValue);
    QString readText(const QString& key, const QString& defaultText);

    void saveSwitch(const QString& key, int value);
    void saveColour(const QString& key, qint32 value);
    void saveTwips(const QString& key, float value);

    bool hasUnsavedWrites() const { return !unsaved_.empty(); }

Q_SIGNALS:
    // A stored value could not be used and the default stands in for it.
    void valueReset(const QString& key, const QString& storedText, const QString& form,
                    const QString& defaultText);
    // The store refused a read or a write.
    void storeFailed(const QString& key, const QString& reason);

private:
    struct Read
    {
        enum State
        {
            Usable,
            Missing, // absent, or the store could not be read (already reported)
            Damaged,
        } state;
        QString text;
    };
    Read readStored(const QString& key);
    template<typename Parse>
    auto readForm(const QString& key, const QString& form, const QString& defaultText, Parse parse)
        -> decltype(parse(QString()));
    void flushUnsaved();

    SettingsBackend& backend_;
    std::vector<std::pair<QString, QString>> unsaved_; // in the order they were written
};

} // namespace vqdbd

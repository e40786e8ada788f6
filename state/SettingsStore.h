// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ValueForms.h"
#include "platform/SettingsBackend.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <chrono>

namespace vqdbd {

// The program's settings: getSetting/saveSetting over a backing store, plus reads by value form.
// A stored value that does not convert to its form is read as the key's default and reported; the
// stored text stays until the program writes that key itself. A write the store refuses is kept and
// retried, with the next write and on a timer, and reads see it meanwhile, so the running program
// loses nothing. Saves made while a SettingsBatch lives go to the store in one write when it ends.
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
    // Left and Top may be any coordinate; a Width or Height must be more than zero and no more than
    // the largest the caller can use.
    float readPosition(const QString& key, float defaultValue);
    float readSize(const QString& key, float defaultValue, float largest = forms::kMaxTwips);

    void saveSwitch(const QString& key, int value);
    void saveColour(const QString& key, qint32 value);
    void saveTwips(const QString& key, float value);

    bool hasUnsavedWrites() const { return !unsaved_.empty(); }
    // Keys whose latest text the store has not taken yet, in the order they were saved.
    QStringList unsavedKeys() const;
    // For the end of the run: keeps trying to write what is unsaved for at most the given time.
    // Returns the keys that still could not be saved.
    QStringList saveUnsaved(std::chrono::milliseconds within);
    // Why the store refused the last write it refused.
    const QString& lastWriteProblem() const { return lastWriteProblem_; }

Q_SIGNALS:
    // A stored value could not be used and the default stands in for it.
    void valueReset(const QString& key, const QString& storedText, const QString& form,
                    const QString& defaultText);
    // The store refused a read or a write (key names the key, or the keys of the refused write).
    void storeFailed(const QString& key, const QString& reason);
    // A value was read, but not quite as it stands in the store (told once per key).
    void valueRemarked(const QString& key, const QString& remark);
    // The store ignored part of its content (told once per note).
    void storeNoted(const QString& note);

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
    void flushUnsaved(std::chrono::milliseconds lockWait);
    void retryUnsaved();
    void passOnNotes();

    friend class SettingsBatch;
    SettingsBackend& backend_;
    SettingChanges unsaved_; // in the order they were written, one entry per key
    int batchDepth_ = 0;
    QTimer retryTimer_;
    std::chrono::milliseconds retryDelay_ {};
    QSet<QString> remarked_;
    QSet<QString> noted_;
    QString lastWriteProblem_;
};

// Names a few keys and counts the rest: "A, B, C and 4 more".
QString keyListText(const QStringList& keys);

// Groups the saves of one action (a window's OK, a window's closing) into one write of the store.
class SettingsBatch final
{
public:
    explicit SettingsBatch(SettingsStore& store);
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    SettingsStore& store_;
};

} // namespace vqdbd

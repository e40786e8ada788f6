#pragma once

#include <QObject>
#include <QStringList>

namespace vqdbd {

class SettingsStore;
class UserNotice;

// Says on standard error what went wrong with the settings store, key by key, and tells the user
// once per run (per kind of problem) without blocking: values that were reset to their defaults,
// and a store that refused to be read or written.
class StoreProblemReporter final : public QObject
{
    Q_OBJECT
public:
    StoreProblemReporter(SettingsStore& store, UserNotice& notice, QObject* parent = nullptr);

private:
    void onValueReset(const QString& key, const QString& storedText, const QString& form,
                      const QString& defaultText);
    void onStoreFailed(const QString& key, const QString& reason);
    void tellUser();

    UserNotice& notice_;
    QStringList resets_;
    QStringList failures_;
    bool resetsTold_ = false;
    bool failuresTold_ = false;
    bool scheduled_ = false;
};

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <vector>

namespace vqdbd {

class SettingsStore;
class UserNotice;

// Says on standard error what went wrong with the settings store, key by key, and tells the user
// once per run (per kind of problem) without blocking: values that were reset to their defaults,
// a store that refused to be read or written, and a hand-edited file read otherwise than it looks.
class StoreProblemReporter final : public QObject
{
    Q_OBJECT
public:
    StoreProblemReporter(SettingsStore& store, UserNotice& notice, QObject* parent = nullptr);

private:
    void onValueReset(const QString& key, const QString& storedText, const QString& form,
                      const QString& defaultText);
    void onStoreFailed(const QString& key, const QString& reason);
    void onValueRemarked(const QString& key, const QString& remark);
    void onStoreNoted(const QString& note);
    void addRemark(const QString& line);
    void schedule();
    void tellUser();

    UserNotice& notice_;
    QStringList resets_;
    struct Failure
    {
        QString reason;
        QStringList keys;
    };
    std::vector<Failure> failures_; // not yet said, one entry per cause
    QStringList remarks_;
    bool resetsTold_ = false;
    bool failuresTold_ = false;
    bool remarksTold_ = false;
    bool scheduled_ = false;
};

} // namespace vqdbd

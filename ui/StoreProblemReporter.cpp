// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreProblemReporter.h"

#include "platform/UserNotice.h"
#include "state/Captions.h"
#include "state/SettingsStore.h"
#include "state/StoreLog.h"

#include <QTimer>
#include <algorithm>

namespace vqdbd {

StoreProblemReporter::StoreProblemReporter(SettingsStore& store, UserNotice& notice, QObject* parent)
    : QObject(parent)
    , notice_(notice)
{
    connect(&store, &SettingsStore::valueReset, this, &StoreProblemReporter::onValueReset);
    connect(&store, &SettingsStore::storeFailed, this, &StoreProblemReporter::onStoreFailed);
    connect(&store, &SettingsStore::valueRemarked, this, &StoreProblemReporter::onValueRemarked);
    connect(&store, &SettingsStore::storeNoted, this, &StoreProblemReporter::onStoreNoted);
}

void StoreProblemReporter::schedule()
{
    if (!scheduled_) {
        scheduled_ = true;
        // Collect what one action (such as the start-up's reads) finds, then tell it in one message.
        QTimer::singleShot(0, this, &StoreProblemReporter::tellUser);
    }
}

void StoreProblemReporter::onValueReset(const QString& key, const QString& storedText, const QString& form,
                                        const QString& defaultText)
{
    const QString line = QStringLiteral("%1 held \"%2\", which is not a valid %3; using %4 instead")
                             .arg(key, storedText, form, defaultText);
    qCWarning(storeLog, "settings: %s", qUtf8Printable(line));
    if (resetsTold_)
        return;
    resets_.append(line);
    schedule();
}

void StoreProblemReporter::onStoreFailed(const QString& key, const QString& reason)
{
    // One cause (a settings path that is a pipe, say) fails every key read at start-up: it is said
    // once, with the keys it hit.
    const auto same = std::find_if(failures_.begin(), failures_.end(),
                                   [&](const Failure& failure) { return failure.reason == reason; });
    if (same != failures_.end())
        same->keys.append(key);
    else
        failures_.push_back({ reason, { key } });
    schedule();
}

void StoreProblemReporter::onValueRemarked(const QString& key, const QString& remark)
{
    addRemark(key + QStringLiteral(": ") + remark);
}

void StoreProblemReporter::onStoreNoted(const QString& note)
{
    addRemark(note);
}

void StoreProblemReporter::addRemark(const QString& line)
{
    qCWarning(storeLog, "settings file: %s", qUtf8Printable(line));
    if (remarksTold_)
        return;
    remarks_.append(line);
    schedule();
}

void StoreProblemReporter::tellUser()
{
    scheduled_ = false;
    if (!resets_.isEmpty() && !resetsTold_) {
        resetsTold_ = true;
        notice_.tell(captions::settingsReset(),
                     QStringLiteral("These stored settings could not be used and were reset to their "
                                    "defaults (the settings file keeps them until they are saved again):\n\n")
                         + resets_.join(u'\n'));
        resets_.clear();
    }
    QStringList failureLines;
    for (const Failure& failure : failures_) {
        failureLines.append(keyListText(failure.keys) + QStringLiteral(": ") + failure.reason);
        qCWarning(storeLog, "settings store failed for %s", qUtf8Printable(failureLines.last()));
    }
    failures_.clear();
    if (!failureLines.isEmpty() && !failuresTold_) {
        failuresTold_ = true;
        notice_.tell(captions::settingsNotSaved(),
                     QStringLiteral("The settings store could not be used. The clock goes on with what it "
                                    "has and saves again with the next change:\n\n")
                         + failureLines.join(u'\n'));
    }
    if (!remarks_.isEmpty() && !remarksTold_) {
        remarksTold_ = true;
        notice_.tell(
            captions::settingsFile(),
            QStringLiteral("Some lines of the settings file, edited by hand, read otherwise than they "
                           "look, and the clock uses what it read. To keep a ; put the text in double "
                           "quotes; write \\\" for a quote and \\\\ for a backslash:\n\n")
                + remarks_.join(u'\n'));
        remarks_.clear();
    }
}

} // namespace vqdbd

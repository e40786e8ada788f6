// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsStore.h"

#include "ValueForms.h"

#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

namespace vqdbd {

namespace {

using namespace std::chrono_literals;

// A store that refused a write is tried again soon, then less and less often.
constexpr std::chrono::milliseconds kFirstRetry = 1s;
constexpr std::chrono::milliseconds kLongestRetry = 60s;

} // namespace

QString keyListText(const QStringList& keys)
{
    constexpr qsizetype kNamed = 3;
    QString text = keys.mid(0, kNamed).join(QStringLiteral(", "));
    if (keys.size() > kNamed)
        text += QStringLiteral(" and %1 more").arg(keys.size() - kNamed);
    return text;
}

SettingsStore::SettingsStore(SettingsBackend& backend, QObject* parent)
    : QObject(parent)
    , backend_(backend)
{
    retryTimer_.setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, &SettingsStore::retryUnsaved);
}

SettingsStore::Read SettingsStore::readStored(const QString& key)
{
    const auto pending = std::find_if(unsaved_.rbegin(), unsaved_.rend(),
                                      [&](const auto& entry) { return entry.first == key; });
    if (pending != unsaved_.rend())
        return { Read::Usable, pending->second };

    const StoredValue stored = backend_.read(key);
    passOnNotes();
    switch (stored.kind) {
    case StoredValue::Kind::Text:
        if (!stored.remark.isEmpty() && !remarked_.contains(key)) {
            remarked_.insert(key);
            Q_EMIT valueRemarked(key, stored.remark);
        }
        return { Read::Usable, stored.text };
    case StoredValue::Kind::Absent:
        return { Read::Missing, {} };
    case StoredValue::Kind::Unreadable:
        return { Read::Damaged, stored.text };
    case StoredValue::Kind::Failed:
        Q_EMIT storeFailed(key, stored.reason);
        return { Read::Missing, {} };
    }
    return { Read::Missing, {} };
}

QString SettingsStore::getSetting(const QString& key, const QString& defaultText)
{
    const Read stored = readStored(key);
    if (stored.state == Read::Usable)
        return stored.text;
    if (stored.state == Read::Damaged)
        Q_EMIT valueReset(key, stored.text, QStringLiteral("text"), defaultText);
    return defaultText;
}

template<typename Parse>
auto SettingsStore::readForm(const QString& key, const QString& form, const QString& defaultText, Parse parse)
    -> decltype(parse(QString()))
{
    const Read stored = readStored(key);
    if (stored.state == Read::Missing)
        return std::nullopt;
    if (stored.state == Read::Usable) {
        if (auto value = parse(stored.text))
            return value;
    }
    Q_EMIT valueReset(key, stored.text, form, defaultText);
    return std::nullopt;
}

int SettingsStore::readSwitch(const QString& key, int defaultValue)
{
    return readForm(key, QStringLiteral("switch"), forms::formatSwitch(defaultValue),
                    [](const QString& text) { return forms::parseSwitch(text); })
        .value_or(defaultValue);
}

qint32 SettingsStore::readColour(const QString& key, qint32 defaultValue)
{
    return readForm(key, QStringLiteral("colour"), forms::formatColour(defaultValue),
                    [](const QString& text) { return forms::parseColour(text); })
        .value_or(defaultValue);
}

float SettingsStore::readPosition(const QString& key, float defaultValue)
{
    return readForm(key, QStringLiteral("position"), forms::formatTwips(defaultValue),
                    [](const QString& text) { return forms::parseTwips(text); })
        .value_or(defaultValue);
}

float SettingsStore::readSize(const QString& key, float defaultValue, float largest)
{
    return readForm(key, QStringLiteral("size"), forms::formatTwips(defaultValue),
                    [largest](const QString& text) {
                        auto value = forms::parseTwips(text);
                        return value && *value > 0.0f && *value <= largest ? value : std::nullopt;
                    })
        .value_or(defaultValue);
}

void SettingsStore::saveSetting(const QString& key, const QString& text)
{
    // A key saved again keeps its place: the store then ends as the single writes in order would leave it.
    const auto pending = std::find_if(unsaved_.begin(), unsaved_.end(),
                                      [&](const auto& entry) { return entry.first == key; });
    if (pending != unsaved_.end())
        pending->second = text;
    else
        unsaved_.emplace_back(key, text);
    if (batchDepth_ == 0)
        flushUnsaved(SettingsBackend::kUsualLockWait);
}

void SettingsStore::flushUnsaved(std::chrono::milliseconds lockWait)
{
    if (unsaved_.empty())
        return;
    const QString problem = backend_.write(unsaved_, lockWait);
    lastWriteProblem_ = problem;
    if (problem.isEmpty()) {
        unsaved_.clear();
        retryTimer_.stop();
        retryDelay_ = {};
        return;
    }
    Q_EMIT storeFailed(keyListText(unsavedKeys()), problem);
    if (!retryTimer_.isActive()) {
        retryDelay_ = kFirstRetry;
        retryTimer_.start(retryDelay_);
    }
}

void SettingsStore::retryUnsaved()
{
    if (unsaved_.empty())
        return;
    // In the background the clock must not wait for another writer: a held lock is tried again later.
    lastWriteProblem_ = backend_.write(unsaved_, std::chrono::milliseconds::zero());
    if (lastWriteProblem_.isEmpty()) {
        unsaved_.clear();
        retryDelay_ = {};
        return;
    }
    retryDelay_ = std::min(retryDelay_ * 2, kLongestRetry);
    retryTimer_.start(retryDelay_);
}

QStringList SettingsStore::unsavedKeys() const
{
    QStringList keys;
    for (const auto& entry : unsaved_)
        keys.append(entry.first);
    return keys;
}

QStringList SettingsStore::saveUnsaved(std::chrono::milliseconds within)
{
    constexpr auto kPause = 100ms;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!unsaved_.empty()) {
        lastWriteProblem_ = backend_.write(unsaved_, SettingsBackend::kUsualLockWait);
        if (lastWriteProblem_.isEmpty()) {
            unsaved_.clear();
            break;
        }
        if (std::chrono::milliseconds(elapsed.elapsed()) + kPause >= within)
            break;
        QThread::msleep(static_cast<unsigned long>(kPause.count()));
    }
    retryTimer_.stop();
    return unsavedKeys();
}

void SettingsStore::passOnNotes()
{
    for (const QString& note : backend_.takeNotes()) {
        if (noted_.contains(note))
            continue;
        noted_.insert(note);
        Q_EMIT storeNoted(note);
    }
}

void SettingsStore::saveSwitch(const QString& key, int value)
{
    saveSetting(key, forms::formatSwitch(value));
}

void SettingsStore::saveColour(const QString& key, qint32 value)
{
    saveSetting(key, forms::formatColour(value));
}

void SettingsStore::saveTwips(const QString& key, float value)
{
    saveSetting(key, forms::formatTwips(value));
}

SettingsBatch::SettingsBatch(SettingsStore& store)
    : store_(store)
{
    ++store_.batchDepth_;
}

SettingsBatch::~SettingsBatch()
{
    if (--store_.batchDepth_ == 0)
        store_.flushUnsaved(SettingsBackend::kUsualLockWait);
}

} // namespace vqdbd

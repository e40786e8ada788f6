#include "SettingsStore.h"

#include "ValueForms.h"

#include <algorithm>

namespace vqdbd {

SettingsStore::SettingsStore(SettingsBackend& backend, QObject* parent)
    : QObject(parent)
    , backend_(backend)
{ }

SettingsStore::Read SettingsStore::readStored(const QString& key)
{
    const auto pending = std::find_if(unsaved_.rbegin(), unsaved_.rend(),
                                      [&](const auto& entry) { return entry.first == key; });
    if (pending != unsaved_.rend())
        return { Read::Usable, pending->second };

    const StoredValue stored = backend_.read(key);
    switch (stored.kind) {
    case StoredValue::Kind::Text:
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

float SettingsStore::readSize(const QString& key, float defaultValue)
{
    return readForm(key, QStringLiteral("size"), forms::formatTwips(defaultValue),
                    [](const QString& text) {
                        auto value = forms::parseTwips(text);
                        return value && *value > 0.0f ? value : std::nullopt;
                    })
        .value_or(defaultValue);
}

QString SettingsStore::readText(const QString& key, const QString& defaultText)
{
    return getSetting(key, defaultText);
}

void SettingsStore::saveSetting(const QString& key, const QString& text)
{
    std::erase_if(unsaved_, [&](const auto& entry) { return entry.first == key; });
    unsaved_.emplace_back(key, text);
    flushUnsaved();
}

void SettingsStore::flushUnsaved()
{
    while (!unsaved_.empty()) {
        const auto& [key, text] = unsaved_.front();
        const QString problem = backend_.write(key, text);
        if (!problem.isEmpty()) {
            Q_EMIT storeFailed(key, problem);
            return;
        }
        unsaved_.erase(unsaved_.begin());
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

} // namespace vqdbd

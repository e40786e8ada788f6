// SPDX-License-Identifier: GPL-3.0-or-later
#include "FreedesktopNotifier.h"

#include "ProgramLog.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>
#include <utility>

namespace vqdbd {

namespace {

// The body may be read as markup; the program's texts are plain.
QString markupEscaped(QString text)
{
    return text.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
}

constexpr int kReplyWaitMs = 10000;
constexpr uchar kNormalUrgency = 1;
// The server keeps the notification as long as it keeps notifications by default.
constexpr int kServerDefaultTimeout = -1;

} // namespace

FreedesktopNotifier::FreedesktopNotifier(QString applicationId, QObject* parent)
    : QObject(parent)
    , applicationId_(std::move(applicationId))
{ }

void FreedesktopNotifier::tell(const QString& summary, const QString& body)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCDebug(platformLog, "no desktop notification: no session bus (%s)",
                qUtf8Printable(bus.lastError().message()));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints { { QStringLiteral("urgency"), QVariant::fromValue(kNormalUrgency) },
                              { QStringLiteral("desktop-entry"), applicationId_ } };
    call << QStringLiteral("VQ-DRUM-BEAT-DIAL") << 0u << applicationId_ << summary << markupEscaped(body)
         << QStringList() << hints << kServerDefaultTimeout;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kReplyWaitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher* finished) {
        if (finished->isError())
            qCDebug(platformLog, "no desktop notification: %s", qUtf8Printable(finished->error().message()));
        finished->deleteLater();
    });
}

} // namespace vqdbd

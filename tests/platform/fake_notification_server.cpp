// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the desktop's notification service on a private session bus: it owns
// org.freedesktop.Notifications, appends each Notify call to the file named by its argument (one
// "name: value" line per argument, each hint as key=value:type), and touches FILE.ready once it can
// be called.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QFile>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>

namespace {

class Notifications final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit Notifications(const QString& record)
        : record_(record)
    { }

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout)
    {
        QStringList hintTexts;
        for (auto hint = hints.cbegin(); hint != hints.cend(); ++hint) {
            const QVariant& value = hint.value();
            const QString text = value.typeId() == QMetaType::QString ? value.toString()
                                                                      : QString::number(value.toLongLong());
            hintTexts.append(hint.key() + u'=' + text + u':' + QString::fromLatin1(value.typeName()));
        }
        const QString call = QStringLiteral("app_name: %1\nreplaces_id: %2\napp_icon: %3\nsummary: %4\n"
                                            "body: %5\nactions: %6\nhints: %7\nexpire_timeout: %8\n")
                                 .arg(appName)
                                 .arg(replacesId)
                                 .arg(appIcon, summary, body, actions.join(u','), hintTexts.join(u','))
                                 .arg(expireTimeout);
        QFile file(record_);
        if (file.open(QIODevice::Append))
            file.write(call.toUtf8());
        return ++lastId_;
    }
    QStringList GetCapabilities() { return { QStringLiteral("body"), QStringLiteral("body-markup") }; }

private:
    QString record_;
    uint lastId_ = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fake_notification_server RECORD_FILE\n");
        return 2;
    }
    const QString record = QString::fromLocal8Bit(argv[1]);
    Notifications notifications(record);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                            QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "fake_notification_server: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    QFile ready(record + QStringLiteral(".ready"));
    if (!ready.open(QIODevice::WriteOnly))
        return 1;
    ready.close();
    return QCoreApplication::exec();
}

#include "fake_notification_server.moc"

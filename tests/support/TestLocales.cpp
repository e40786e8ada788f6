// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestLocales.h"

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <locale.h>

namespace vqdbd::test {

namespace {

bool loads(const QByteArray& name)
{
    locale_t locale = newlocale(LC_ALL_MASK, name.constData(), nullptr);
    if (locale)
        freelocale(locale);
    return locale != nullptr;
}

QString compileMissingLocales()
{
    QList<QByteArray> missing;
    for (const QByteArray& name : kTriedLocales) {
        if (!loads(name))
            missing.append(name);
    }
    if (missing.isEmpty())
        return {};
    // With LOCPATH set glibc reads no locale archive, and it remembers a locale it failed to find,
    // so nothing is looked up before the folder holds it. The tests share the folder and take turns;
    // a locale is built beside its place and moved there, never seen half-written.
    const QString folder = QStringLiteral(VQDBD_TEST_LOCALES);
    QDir().mkpath(folder);
    qputenv("LOCPATH", QFile::encodeName(folder));
    QLockFile lock(folder + QStringLiteral("/.lock"));
    lock.setStaleLockTime(10 * 60 * 1000);
    if (!lock.lock())
        return QStringLiteral("cannot lock %1").arg(folder);
    QStringList problems;
    for (const QByteArray& name : std::as_const(missing)) {
        const QString target = folder + u'/' + QString::fromLatin1(name);
        const QString partial = target + QStringLiteral(".partial");
        QDir(partial).removeRecursively();
        const qsizetype dot = name.indexOf('.');
        QProcess localedef;
        localedef.setProcessChannelMode(QProcess::MergedChannels);
        if (!QDir(target).exists()) {
            localedef.start(QStringLiteral("localedef"),
                            { QStringLiteral("-i"), QString::fromLatin1(name.left(dot)), QStringLiteral("-f"),
                              QString::fromLatin1(name.mid(dot + 1)), partial });
            // It exits with 1 for a locale built with warnings.
            if (!localedef.waitForFinished(300'000) || localedef.exitCode() > 1
                || !QDir().rename(partial, target))
                problems.append(QStringLiteral("%1 not built (%2 %3)")
                                    .arg(QString::fromLatin1(name), localedef.errorString(),
                                         QString::fromLocal8Bit(localedef.readAll()).trimmed()));
        }
    }
    for (const QByteArray& name : kTriedLocales) {
        if (!loads(name))
            problems.append(QStringLiteral("%1 does not load").arg(QString::fromLatin1(name)));
    }
    return problems.join(QStringLiteral("; "));
}

} // namespace

QString provideLocales()
{
    static const QString problem = compileMissingLocales();
    return problem;
}

} // namespace vqdbd::test

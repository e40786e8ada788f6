// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace vqdbd::test {

// The locales the clock is tried in: C, 12-hour ones (en_US, el_GR), and 24-hour ones whose own time
// text is HH:MM:SS (de_DE), has no seconds (nb_NO "kl. 19.35 +0100") or other signs (ja_JP "19時35分23秒").
inline const QList<QByteArray> kTriedLocales
    = { "C.UTF-8", "en_US.UTF-8", "el_GR.UTF-8", "de_DE.UTF-8", "nb_NO.UTF-8", "ja_JP.UTF-8" };

// Makes every tried locale loadable: those this machine lacks are compiled with localedef into a
// folder of the build tree's own, which LOCPATH then names. Returns why some locale could not be had,
// or nothing; a test fails on it rather than skip.
QString provideLocales();

} // namespace vqdbd::test

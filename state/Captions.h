// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every fixed caption of the program's windows and notices, once.
namespace vqdbd::captions {

// The program's short name and version, which begin most captions.
inline QString shortName()
{
    return QStringLiteral("VQ-DBD - V3");
}

// "VQ-DBD - V3 - " and the rest.
inline QString withShortName(const QString& rest)
{
    return shortName() + QStringLiteral(" - ") + rest;
}

// The windows. Two were designed with their own spelling of the name.
inline QString clock()
{
    return QStringLiteral("VQ-DRUM-BEAT-DIAL - V3");
}
inline QString settings()
{
    return QStringLiteral("VQ - DBD - V3 - SETTINGS");
}
inline QString colours()
{
    return withShortName(QStringLiteral("SET CLOCK COLORS"));
}
inline QString alarmSettings()
{
    return withShortName(QStringLiteral("ALARM SETTINGS"));
}
inline QString alarmNotification()
{
    return withShortName(QStringLiteral("!!! ALARM NOTIFICATION - !!! "));
}
inline QString alarmNotification(const QString& alarmName)
{
    return withShortName(QStringLiteral("!!! ALARM NOTIFICATION - !!! - ")) + alarmName;
}
inline QString testNotification()
{
    return withShortName(
        QStringLiteral("!!! ALARM TEST NOTIFICATION - MANUAL COMMAND ONLY - SETTINGS NOT SAVED !!!"));
}

// The notices.
inline QString alarmFiredAgain()
{
    return withShortName(QStringLiteral("ALARM FIRED AGAIN"));
}
inline QString alarmMissed()
{
    return withShortName(QStringLiteral("ALARM MISSED"));
}
inline QString commandNotStarted()
{
    return withShortName(QStringLiteral("COMMAND NOT STARTED"));
}
inline QString commandFailed()
{
    return withShortName(QStringLiteral("COMMAND FAILED"));
}
inline QString settingsReset()
{
    return withShortName(QStringLiteral("SETTINGS RESET"));
}
inline QString settingsNotSaved()
{
    return withShortName(QStringLiteral("SETTINGS NOT SAVED"));
}
inline QString settingsFile()
{
    return withShortName(QStringLiteral("SETTINGS FILE"));
}

} // namespace vqdbd::captions

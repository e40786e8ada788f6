// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The start at login, whole: the desktop entry's text, where it lives, writing and removing it, and
// what --autostart on and off say.

#include <QByteArray>
#include <QString>

namespace vqdbd::autostart {

// $XDG_CONFIG_HOME/autostart (by default ~/.config/autostart): where the desktop starts programs at login.
QString folder();

// The file a program was started as, with its folder, so that a start from the entry runs it under
// the same name: a name with a slash is taken from the working folder, a bare name is looked up in
// PATH as the shell does. Symbolic links are kept, not followed. Empty when not found.
QString invokedProgramPath(const QString& argument0, const QByteArray& pathVariable,
                           const QString& workingFolder);

// Whether the file is the program that is running (through any link).
bool isRunningProgram(const QString& path);

// Writes the entry whole or not at all, as settingsfile::replace does, so that a full disk leaves no
// half entry. The folder is made when missing. Returns the problem, or empty.
QString writeEntry(const QString& path, const QByteArray& text);

// The path as one argument of a desktop entry's Exec line: quoted where it holds a reserved
// character, escaped inside the quotes and for the entry's string rules.
QString execArgument(const QString& path);

// The entry that starts the program at `programPath` with the icon `iconName`, or empty when the path
// cannot be written in a desktop entry (a control character, say).
QString entryText(const QString& programPath, const QString& iconName);

enum class Removal
{
    Removed,
    Absent,
    Failed,
};
// Removes the entry; `problem` says why it failed.
Removal removeEntry(const QString& path, QString& problem);

// What switching the start at login said, for standard output or, when it failed, standard error,
// and the exit status.
struct Outcome
{
    int status = 0;
    QString said;
};

// --autostart on: writes the entry `appId`.desktop that starts the file the program was started as
// (`argument0`). `programName` begins a line that says why it could not.
Outcome switchOn(const QString& programName, const QString& argument0, const QString& appId);
// --autostart off: removes that entry.
Outcome switchOff(const QString& programName, const QString& appId);

} // namespace vqdbd::autostart

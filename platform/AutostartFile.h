// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

enum class Removal
{
    Removed,
    Absent,
    Failed,
};
// Removes the entry; `problem` says why it failed.
Removal removeEntry(const QString& path, QString& problem);

} // namespace vqdbd::autostart

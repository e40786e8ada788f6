// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

namespace vqdbd::settingsfile {

// Where a settings path really leads. A symbolic link of the user's own is followed, also to a
// file not made yet in a folder of the user's own (a dotfile manager's link); a link of someone
// else's, a link into someone else's file or folder, and anything that is not a regular file
// (a folder, a named pipe, a socket, a device) give a problem instead.
struct Target
{
    QString path; // the regular file, existing or to be created
    QString problem; // why the path cannot be used, or empty
};
Target resolve(const QString& path);

// What identifies one version of a file on disk: it changes whenever the file is replaced or written.
struct Stamp
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified {};
    timespec changed {};
    bool operator==(const Stamp& other) const;
};
Stamp stampOf(const QString& path);

struct Content
{
    bool exists = false;
    QByteArray bytes;
    Stamp stamp;
    QString problem;
};
// Reads a regular file whole, never blocking on something that is not one.
Content read(const QString& path);

// Replaces the file by the given content, or leaves it untouched: the content goes to a new file
// beside it, which is written, flushed to disk and closed, then renamed over the old one, and the
// folder is flushed; any step that fails removes the new file. The file is private to the user.
// Returns an empty string on success, otherwise what failed, naming the content as `what`.
// The program's one way of replacing a file (the settings, the autostart entry), written by hand
// rather than with QSaveFile: that does not flush the folder after the rename, so a crash may bring
// the old file back; it makes a new file with the umask's permissions, where the settings are the
// user's alone (0600); and its errors do not say which step failed. tests/faults checks that the file
// stays 0600 and whole, with nothing left beside it, on a nearly full disk and whatever call fails.
QString replace(const QString& path, const QByteArray& content,
                const QString& what = QStringLiteral("settings"));

} // namespace vqdbd::settingsfile

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vqdbd::options {

// What the command line asks for.
enum class Request
{
    RunClock,
    Help,
    Version,
    AutostartOn,
    AutostartOff,
    Invalid,
};

struct Reading
{
    Request request = Request::RunClock;
    QString error; // one line, for Invalid
};

// The arguments without Qt's own options (-platform NAME, -display DISPLAY, -style NAME, ...), which
// QApplication takes for itself, so that they are not read as unknown.
QStringList withoutQtOptions(const QStringList& arguments);

// Reads the program's own options; arguments[0] is the program.
Reading read(const QStringList& arguments);

QString usageText(const QString& programName);
QString versionText();

} // namespace vqdbd::options

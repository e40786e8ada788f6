// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd {

// The settings section of a run: the file name the program was started under, without its folder
// and its extension, so that a copy under another name keeps settings of its own.
QString sectionForProgram(const QString& programPath);

} // namespace vqdbd

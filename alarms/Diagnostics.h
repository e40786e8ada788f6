#pragma once

#include <QString>
#include <functional>

namespace vqdbd {

// Where the program's own lines for standard error go; tests catch them instead.
using Diagnostics = std::function<void(const QString& line)>;

// Writes "vq-dbd: " and the line to standard error.
void writeToStandardError(const QString& line);

} // namespace vqdbd

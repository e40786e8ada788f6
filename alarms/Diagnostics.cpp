#include "Diagnostics.h"

#include <cstdio>

namespace vqdbd {

void writeToStandardError(const QString& line)
{
    std::fprintf(stderr, "vq-dbd: %s\n", qUtf8Printable(line));
    std::fflush(stderr);
}

} // namespace vqdbd

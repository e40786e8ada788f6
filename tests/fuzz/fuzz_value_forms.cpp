// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: the stored-value parsers never crash, accept only what their form allows, and
// every value they accept is written back in a text that reads as the same value.
#include "state/ValueForms.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

using namespace vqdbd::forms;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto value = parseSwitch(text);
        value && (*value < 0 || *value > 2 || parseSwitch(formatSwitch(*value)) != value))
        std::abort();
    if (const auto value = parseColour(text); value && parseColour(formatColour(*value)) != value)
        std::abort();
    if (const auto value = parseTwips(text)) {
        const QString written = formatTwips(*value);
        if (!std::isfinite(*value) || std::fabs(*value) > kMaxTwips || written.contains(u'e')
            || parseTwips(written) != value)
            std::abort();
    }
    return 0;
}

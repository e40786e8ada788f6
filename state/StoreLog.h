// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

namespace vqdbd {

// The program's lines about the settings store: values reset, saves refused, hand-edited lines.
Q_DECLARE_LOGGING_CATEGORY(storeLog)

} // namespace vqdbd

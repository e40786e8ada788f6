// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreLog.h"

namespace vqdbd {

Q_LOGGING_CATEGORY(storeLog, "vqdbd.store", QtInfoMsg)

} // namespace vqdbd

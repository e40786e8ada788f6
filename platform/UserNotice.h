// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vqdbd {

// Tells the user something without stopping anything: no modal block, the program goes on. A notice
// window and the desktop's notification list are two of them.
class UserNotice
{
public:
    virtual ~UserNotice() = default;
    virtual void tell(const QString& title, const QString& text) = 0;
};

} // namespace vqdbd

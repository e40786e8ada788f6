// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UserNotice.h"

#include <QStringList>

namespace vqdbd::test {

// Keeps what the program told the user instead of showing it.
class RecordingNotice final : public UserNotice
{
public:
    void tell(const QString& title, const QString& text) override
    {
        titles.append(title);
        texts.append(text);
    }
    QStringList titles;
    QStringList texts;
};

} // namespace vqdbd::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RunningCopy.h"

#include <QList>
#include <QStringList>

namespace vqdbd::test {

// Answers claims and calls as a test scripts them, the last answer of each kind repeating, and
// records every step ("claim", "ask", "pause 50") without waiting.
class FakeRunningCopy final : public RunningCopy
{
public:
    Claim claim() override
    {
        steps.append(QStringLiteral("claim"));
        return next(claims);
    }
    Reply askToFront(std::chrono::milliseconds) override
    {
        steps.append(QStringLiteral("ask"));
        return next(replies);
    }
    void pause(std::chrono::milliseconds duration) override
    {
        steps.append(QStringLiteral("pause %1").arg(duration.count()));
    }
    QString problem() const override { return problemText; }

    QList<Claim> claims { Claim::Ours };
    QList<Reply> replies { Reply::BroughtToFront };
    QString problemText;
    QStringList steps;

private:
    template<typename T> static T next(QList<T>& answers)
    {
        return answers.size() > 1 ? answers.takeFirst() : answers.first();
    }
};

} // namespace vqdbd::test

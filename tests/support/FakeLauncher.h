// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <QList>
#include <utility>

namespace vqdbd::test {

// Records every start instead of starting anything; `refusal` makes starts fail with that reason.
// A start that was not refused ends when the test says so, with end().
class FakeLauncher final : public ProcessLauncher
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        WindowStyle style;
        EndingHandler whenEnded; // empty once refused or ended
    };

    QString start(const QString& program, const QStringList& arguments, WindowStyle style,
                  EndingHandler whenEnded = {}) override
    {
        starts.append(
            { program, arguments, style, refusal.isEmpty() ? std::move(whenEnded) : EndingHandler() });
        return refusal;
    }

    // The program of start `index` ends so; an ending is told once, as the real launcher tells it.
    void end(qsizetype index, const ProcessEnding& ending)
    {
        const EndingHandler handler = std::exchange(starts[index].whenEnded, EndingHandler());
        if (handler)
            handler(ending);
    }

    QList<Start> starts;
    QString refusal;
};

} // namespace vqdbd::test

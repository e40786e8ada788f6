// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <chrono>

namespace vqdbd {

// Which copy of the program runs the clock of one settings file, and the line to it: one lock per
// settings file, which the running copy holds for its whole life, and a way for another copy to ask
// it to bring its clock to the front.
class RunningCopy
{
public:
    enum class Claim
    {
        Ours, // this copy holds the lock now, until it ends
        Held, // another copy that is alive holds it
        Unavailable, // no lock can be had here; problem() says why
    };
    enum class Reply
    {
        BroughtToFront, // the running copy answered that it did
        NotListening, // nobody took the call: not listening yet, or gone
        Silent, // the call was taken but not answered in time
    };

    virtual ~RunningCopy() = default;

    // Tries once, without waiting, to become the copy that runs the clock.
    virtual Claim claim() = 0;
    // Asks the running copy to bring its clock to the front, waiting up to `wait` for its answer.
    virtual Reply askToFront(std::chrono::milliseconds wait) = 0;
    // Waits before the next try.
    virtual void pause(std::chrono::milliseconds duration) = 0;
    // Why the last claim found no lock to be had.
    virtual QString problem() const = 0;
};

} // namespace vqdbd

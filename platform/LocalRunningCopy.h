// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RunningCopy.h"

#include <functional>

class QObject;

namespace vqdbd {

// The running copy's lock and line on this machine, in a private folder of the user's runtime
// folder, named after the settings file: <runtime>/VQ_DBD/<key>.lock and <key>.socket, the key a
// digest of the file's real path (so two names of one file share it, and a long path still fits a
// socket's address). The lock is an flock(2) on an open file, which the kernel lets go when the
// copy ends however it ends; the file itself stays. The copy holding it removes a socket file left
// by a copy that crashed before it listens, and its own when it ends.
//
// Not beside the settings file: that folder may be read-only (no lock file could be made there) or
// on NFS, where flock becomes a byte-range lock through the server (or a lock of this machine alone
// under `nolock`) and a crashed client's lock can outlive it until the server notices; a socket
// there could not take calls from another machine either. The runtime folder ($XDG_RUNTIME_DIR) is
// local, the user's own and made for locks and sockets (unset, /run/user/<uid> stands for it, as
// a copy started from su or ssh may lack the variable); without it, or when it lies too deep for a
// socket's address (108 bytes), a private folder in the temp folder stands in. The settings save keeps its
// own lock beside the file (SettingsFile.h).
class LocalRunningCopy final : public RunningCopy
{
public:
    explicit LocalRunningCopy(const QString& settingsPath);
    ~LocalRunningCopy() override;
    LocalRunningCopy(const LocalRunningCopy&) = delete;
    LocalRunningCopy& operator=(const LocalRunningCopy&) = delete;

    // Once the lock is ours, listens for other copies too; a copy that cannot listen still runs,
    // and says once that other copies cannot reach it.
    Claim claim() override;
    Reply askToFront(std::chrono::milliseconds wait) override;
    void pause(std::chrono::milliseconds duration) override;
    QString problem() const override { return problem_; }

    // From now on each call of another copy runs `bringToFront` and is answered, in the event loop,
    // for as long as `context` lives. Calls taken before wait for it.
    void answerCalls(QObject& context, std::function<void()> bringToFront);

private:
    void listen();

    QString settingsPath_;
    QString place_;
    QString problem_;
    int lockFd_ = -1;
    int listenFd_ = -1;
};

} // namespace vqdbd

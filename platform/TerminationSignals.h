// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace vqdbd {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the user-interface thread, so the program can
// close its window the ordinary way (saving what a close saves) instead of dying mid-step. SIGHUP
// comes when the terminal closes, and from the session manager at logout.
class TerminationSignals final : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void terminationRequested();

private:
    void onReadable();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace vqdbd

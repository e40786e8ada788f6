// SPDX-License-Identifier: GPL-3.0-or-later
#include "TerminationSignals.h"

#include "ProgramLog.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vqdbd {

namespace {

constexpr int kHandled[] = { SIGTERM, SIGINT, SIGHUP };

int g_pipe[2] = { -1, -1 };

extern "C" void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        // Without the pipe a handler could do nothing safe, so the signals keep their default action.
        const int error = errno;
        qCWarning(platformLog,
                  "cannot watch for termination signals (pipe2: %s); SIGTERM, SIGINT and SIGHUP will end "
                  "the program without saving its window place",
                  std::strerror(error));
        return;
    }
    notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::onReadable);

    struct sigaction action
    {
    };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kHandled)
        sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    for (const int number : kHandled)
        ::signal(number, SIG_DFL);
}

void TerminationSignals::onReadable()
{
    char buffer[16];
    while (::read(g_pipe[0], buffer, sizeof buffer) > 0) { }
    Q_EMIT terminationRequested();
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramLog.h"

#include <cstdio>
#include <cstring>

namespace vqdbd {

// Debug lines are for whoever asks for them with QT_LOGGING_RULES.
Q_LOGGING_CATEGORY(platformLog, "vqdbd.platform", QtInfoMsg)

namespace {

QtMessageHandler g_qtHandler = nullptr;
// Set once, before any line can be written, and kept for the whole run.
char g_programName[256] = "vq-dbd";

void writeLine(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (context.category == nullptr || std::strncmp(context.category, "vqdbd.", 6) != 0) {
        g_qtHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", g_programName, qUtf8Printable(message));
    std::fflush(stderr);
}

} // namespace

void installProgramLog(const char* programPath)
{
    if (programPath != nullptr) {
        const char* slash = std::strrchr(programPath, '/');
        const char* name = slash != nullptr ? slash + 1 : programPath;
        if (*name != '\0')
            std::snprintf(g_programName, sizeof g_programName, "%s", name);
    }
    const QtMessageHandler previous = qInstallMessageHandler(writeLine);
    if (previous != writeLine)
        g_qtHandler = previous;
}

} // namespace vqdbd

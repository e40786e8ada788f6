// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandEnding.h"

#include "state/TimeText.h"

#include <QDate>
#include <QLocale>
#include <QStringList>

namespace vqdbd {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr char16_t kEscape = u'\x1b';

bool endsLine(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\u0085' || c == u'\u2028'
        || c == u'\u2029';
}

bool isBidiControl(char16_t c)
{
    return (c >= u'\u202A' && c <= u'\u202E') || (c >= u'\u2066' && c <= u'\u2069');
}

// Drops ESC [ ... final (colours, cursor moves) and ESC ] ... BEL or ESC \ (window titles).
QString withoutTerminalSequences(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const char16_t next = i + 1 < text.size() ? text.at(i + 1).unicode() : u'\0';
        if (c == kEscape && next == u'[') {
            qsizetype j = i + 2;
            while (j < text.size() && text.at(j).unicode() >= 0x20 && text.at(j).unicode() <= 0x3F)
                ++j;
            if (j < text.size() && text.at(j).unicode() >= 0x40 && text.at(j).unicode() <= 0x7E) {
                i = j;
                continue;
            }
        } else if (c == kEscape && next == u']') {
            qsizetype j = i + 2;
            while (j < text.size() && text.at(j) != u'\a'
                   && !(text.at(j) == kEscape && j + 1 < text.size() && text.at(j + 1) == u'\\')
                   && !endsLine(text.at(j).unicode()))
                ++j;
            if (j < text.size() && text.at(j) == u'\a') {
                i = j;
                continue;
            }
            if (j < text.size() && text.at(j) == kEscape) {
                i = j + 1;
                continue;
            }
        }
        result.append(QChar(c));
    }
    return result;
}

} // namespace

QString lastErrorLine(const QByteArray& errorTail)
{
    const QString text = withoutTerminalSequences(QString::fromUtf8(errorTail));
    qsizetype end = text.size();
    while (end > 0) {
        qsizetype begin = end;
        while (begin > 0 && !endsLine(text.at(begin - 1).unicode()))
            --begin;
        QString line = text.mid(begin, end - begin).trimmed();
        end = begin - 1;
        if (line.isEmpty())
            continue;
        for (QChar& c : line) {
            if (c == u'\t')
                c = u' ';
            else if (c.category() == QChar::Other_Control || isBidiControl(c.unicode()))
                c = QChar(kReplacement);
        }
        if (line.size() > kMostErrorLineCharacters) {
            qsizetype kept = kMostErrorLineCharacters - 1;
            if (line.at(kept - 1).isHighSurrogate())
                --kept;
            line = line.left(kept) + u'…';
        }
        return line;
    }
    return {};
}

QString commandEndingLine(const CommandRequest& request, const ProcessEnding& ending)
{
    if (ending.succeeded())
        return {};
    const QString how = ending.signal != 0
        ? QStringLiteral("was ended by %1")
              .arg(ending.signalName.isEmpty() ? QStringLiteral("signal %1").arg(ending.signal)
                                               : ending.signalName)
        : QStringLiteral("ended with exit status %1").arg(ending.exitStatus);
    const QString errorLine = lastErrorLine(ending.errorTail);
    const QString said = errorLine.isEmpty() ? QStringLiteral("it wrote nothing to its standard error")
                                             : QStringLiteral("its last error line: ") + errorLine;
    return QStringLiteral("%1 (\"%2\", %3 %4): the command line \"%5\" %6; %7")
        .arg(request.origin, request.name,
             request.pressed ? QStringLiteral("pressed") : QStringLiteral("fired"), request.at,
             request.commandLine, how, said);
}

QString dayAndTimeText(qint64 localSecond, const QString& timeText)
{
    const std::tm local = localTimeOf(localSecond);
    const QDate date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return QLocale::c().toString(date, QStringLiteral("ddd d MMM ")) + timeText;
}

QString dayAndTimeText(qint64 utcSecond, const TimeTextFormat& format)
{
    const WallSecond second = wallSecondAt(utcSecond);
    return dayAndTimeText(second.localSecond, format.format(second.local));
}

} // namespace vqdbd

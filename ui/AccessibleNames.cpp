// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleNames.h"

#include <QRegularExpression>
#include <QStringList>

namespace vqdbd::ui {

namespace {

QString sentenceCase(QStringList words)
{
    for (QString& word : words)
        word = word.toLower();
    QString text = words.join(u' ');
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

QString rowFieldName(const QString& field)
{
    if (field == u"RUN_COMMAND")
        return QStringLiteral("Command");
    return sentenceCase({ field });
}

} // namespace

QString accessibleNameFor(const QString& controlName, const QString& caption, bool isTextBox)
{
    if (!isTextBox && !caption.isEmpty()) {
        QString plain = caption;
        return plain.remove(u'&');
    }
    static const QRegularExpression rowSwitch(QStringLiteral("^ALARM_(\\d+)_TICKBOX$"));
    static const QRegularExpression rowText(
        QStringLiteral("^ALARM_(\\d+)_(NAME|TIME|MESSAGE|RUN_COMMAND)_TEXTBOX$"));
    static const QRegularExpression rowNumber(QStringLiteral("^ALARM_NUMBER_(\\d+)_TEXTBOX$"));
    static const QRegularExpression preset(QStringLiteral("^([A-Z]+)_(FOREGROUND|BACKGROUND)_COLOR_BUTTON$"));
    if (const auto match = rowSwitch.match(controlName); match.hasMatch())
        return QStringLiteral("Enable alarm %1").arg(match.captured(1));
    if (const auto match = rowText.match(controlName); match.hasMatch())
        return QStringLiteral("%1 of alarm %2").arg(rowFieldName(match.captured(2)), match.captured(1));
    if (const auto match = rowNumber.match(controlName); match.hasMatch())
        return QStringLiteral("Alarm %1").arg(match.captured(1));
    if (const auto match = preset.match(controlName); match.hasMatch())
        return QStringLiteral("%1 %2 colour")
            .arg(sentenceCase({ match.captured(1) }),
                 match.captured(2) == u"FOREGROUND" ? QStringLiteral("text") : QStringLiteral("background"));
    if (controlName == u"VELA_QUILL_BUTTON")
        return QStringLiteral("VELA-QUILL: open the settings");

    // Otherwise the words of the name, without the word that says what kind of control it is.
    QStringList words = controlName.split(u'_', Qt::SkipEmptyParts);
    static const QStringList kinds
        = { QStringLiteral("TEXTBOX"), QStringLiteral("TB"),    QStringLiteral("BUTTON"),
            QStringLiteral("TICKBOX"), QStringLiteral("LABEL"), QStringLiteral("LABLE") };
    if (words.size() > 1 && kinds.contains(words.last()))
        words.removeLast();
    return sentenceCase(words);
}

} // namespace vqdbd::ui

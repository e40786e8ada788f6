// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleNames.h"

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

} // namespace

QString accessibleNameFor(const QString& controlName, const QString& caption, bool isTextBox)
{
    if (!isTextBox && !caption.isEmpty()) {
        QString plain = caption;
        return plain.remove(u'&');
    }
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

// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: reading a settings file never crashes or hangs, a key set reads back exactly as
// set without disturbing another key, and what is written reads back to the same bytes.
#include "platform/IniDocument.h"

#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

using vqdbd::IniDocument;
using vqdbd::IniValue;

namespace {

bool same(const std::optional<IniValue>& a, const std::optional<IniValue>& b)
{
    return a.has_value() == b.has_value() && (!a || (a->readable == b->readable && a->text == b->text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    IniDocument document = IniDocument::parse(content);
    (void)document.ignoredLines();

    // The input's first line is also the text to set; its first byte picks the key.
    const qsizetype lineEnd = content.indexOf('\n');
    const QString text
        = QString::fromUtf8(content.left(std::min<qsizetype>(lineEnd < 0 ? size : lineEnd, 200)));
    const bool shortKey = size > 0 && data[0] % 2 == 1;
    const QString key = shortKey ? QStringLiteral("K") : QStringLiteral("my key");
    const QString other = shortKey ? QStringLiteral("A") : QStringLiteral("K");
    const auto otherBefore = document.value(other);

    document.setValue(key, text);
    const QByteArray written = document.toBytes();
    const IniDocument reread = IniDocument::parse(written);
    const auto value = reread.value(key);
    if (!value || !value->readable || !same(reread.value(other), otherBefore))
        std::abort();
    // Qt's reader drops a byte-order mark at the start of a value's first run of text, so a text
    // holding one need not come back whole; otherwise it does, and only an escaped control character
    // earns a remark.
    const bool control = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20; });
    if (!text.contains(QChar(0xFEFF)) && (value->text != text || value->remark.isEmpty() == control))
        std::abort();
    if (reread.toBytes() != written)
        std::abort();
    return 0;
}

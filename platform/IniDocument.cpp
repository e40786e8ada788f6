// SPDX-License-Identifier: GPL-3.0-or-later
#include "IniDocument.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <charconv>

namespace vqdbd {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}
bool isControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

int hexValue(char16_t c)
{
    const char digit = c < 0x80 ? static_cast<char>(c) : '\0';
    unsigned value = 0;
    return std::from_chars(&digit, &digit + 1, value, 16).ec == std::errc() ? static_cast<int>(value) : -1;
}

int octValue(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

char hexDigit(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

// The characters that matter in reading a line; anything else is skipped in one test.
constexpr auto kSpecial = [] {
    std::array<bool, 256> special {};
    for (const char c : { '\n', '\r', '\\', '"', '=', ';' })
        special[static_cast<uchar>(c)] = true;
    return special;
}();

// A name that reads as it is spelled, so that it needs no decoding to be compared.
bool isPlainKey(QByteArrayView spelled)
{
    return std::all_of(spelled.begin(), spelled.end(),
                       [](char c) { return c >= 0x20 && c < 0x7F && c != '%' && c != '\\'; });
}

bool isGeneral(QByteArrayView name)
{
    return name.size() == 7 && qstrnicmp(name.data(), "general", 7) == 0;
}

// A key as Qt reads it: UTF-8, '\' for '/', and %XX and %UXXXX for any other character.
QString decodeKey(QByteArrayView bytes)
{
    const QString decoded = QString::fromUtf8(bytes);
    const qsizetype size = decoded.size();
    QString key;
    key.reserve(size);
    qsizetype i = 0;
    while (i < size) {
        const QChar ch = decoded.at(i);
        if (ch == u'\\') {
            key += u'/';
            ++i;
            continue;
        }
        if (ch != u'%' || i == size - 1) {
            key += ch;
            ++i;
            continue;
        }
        qsizetype first = i + 1;
        qsizetype digits = 2;
        if (decoded.at(first) == u'U') {
            ++first;
            digits = 4;
        }
        bool ok = false;
        const ushort code
            = first + digits <= size ? QStringView(decoded).sliced(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            key += u'%';
            ++i;
            continue;
        }
        key += QChar(code);
        i = first + digits;
    }
    return key;
}

void encodeKey(const QString& key, QByteArray& out)
{
    for (const QChar qch : key) {
        const char16_t ch = qch.unicode();
        if (ch == u'/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')
                   || ch == '_' || ch == '-' || ch == '.') {
            out += static_cast<char>(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += hexDigit(ch >> 4);
            out += hexDigit(ch);
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigit(static_cast<unsigned>(ch) >> shift);
        }
    }
}

// A text exactly as QSettings writes a QString, so that QSettings reads it back the same. (Qt copies
// its @ByteArray, @Variant and @DateTime forms byte for byte instead of as UTF-8, but a text never
// looks like one by then: its leading '@' is doubled.)
QByteArray encodeText(const QString& text)
{
    QString value = text;
    if (value.contains(QChar::Null))
        value = QStringLiteral("@String(") + value + u')';
    else if (value.startsWith(u'@'))
        value.prepend(u'@');

    QByteArray out;
    out.reserve(value.size() * 3 / 2 + 2);
    bool needsQuotes = false;
    bool escapeNextIfHexDigit = false;
    // Qt feeds the encoder one character at a time, so a lone surrogate turns into U+FFFD or vanishes
    // exactly as it does there; plain ASCII skips the encoder while nothing is pending in it.
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    bool encoderMayHold = false;
    for (const QChar qch : value) {
        const char16_t ch = qch.unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfHexDigit && hexValue(ch) >= 0) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfHexDigit = false;
        switch (ch) {
        case 0:
            out += "\\0";
            escapeNextIfHexDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += static_cast<char>(ch);
            break;
        default:
            if (ch <= 0x1F) {
                out += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfHexDigit = true;
            } else if (ch < 0x80 && !encoderMayHold) {
                out += static_cast<char>(ch);
            } else {
                const qsizetype at = out.size();
                out.resize(at + 8);
                char* end = toUtf8.appendToBuffer(out.data() + at, QStringView(&qch, 1));
                out.resize(end - out.constData());
                encoderMayHold = qch.isSurrogate();
            }
        }
    }
    if (needsQuotes || (!out.isEmpty() && (out.front() == ' ' || out.back() == ' '))) {
        out.prepend('"');
        out.append('"');
    }
    return out;
}

struct Unescaped
{
    QString text;
    QStringList list; // the items, when an unquoted comma makes Qt read a list
    bool isList = false;
    bool controlFromEscape = false;
    bool lostEscape = false; // a backslash that vanished with or without the character after it
    bool quotesVanished = false; // other than one pair around the whole value
};

// Qt's reading of a value, step for step (blanks dropped around items, but not inside quotes nor
// before an escape; a stateful UTF-8 decoder over the runs between escapes), noting on the way what
// a person typing the value may not have meant.
Unescaped unescape(QByteArrayView str)
{
    Unescaped out;
    QString& result = out.text;
    result.reserve(str.size());
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    const qsizetype size = str.size();
    qsizetype i = 0;
    bool inQuotes = false;
    bool currentIsQuoted = false;
    qsizetype quotes = 0;
    qsizetype firstQuote = -1;
    qsizetype lastQuote = -1;
    const auto skipBlanks = [&] {
        while (i < size && isBlank(str.at(i)))
            ++i;
    };
    const auto chopBlanks = [&result](qsizetype limit) {
        qsizetype n = result.size();
        while (n > limit && (result.at(n - 1) == u' ' || result.at(n - 1) == u'\t'))
            --n;
        result.truncate(n);
    };
    const auto addEscaped = [&](char16_t c) {
        result += QChar(c);
        out.controlFromEscape = out.controlFromEscape || isControl(c);
    };

    skipBlanks();
    qsizetype chopLimit = 0;
    bool chopAtEnd = true; // Qt leaves blanks before a value's final escape
    while (i < size) {
        const char ch = str.at(i);
        if (ch == '\\') {
            ++i;
            if (i >= size) {
                out.lostEscape = true;
                chopAtEnd = false;
                break;
            }
            const char escape = str.at(i++);
            static constexpr char kEscapes[][2]
                = { { 'a', '\a' }, { 'b', '\b' }, { 'f', '\f' }, { 'n', '\n' },  { 'r', '\r' }, { 't', '\t' },
                    { 'v', '\v' }, { '"', '"' },  { '?', '?' },  { '\'', '\'' }, { '\\', '\\' } };
            const auto* known = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                             [escape](const char* code) { return code[0] == escape; });
            if (known != std::end(kEscapes)) {
                addEscaped(static_cast<char16_t>((*known)[1]));
            } else if (escape == 'x' && i < size && hexValue(static_cast<uchar>(str.at(i))) >= 0) {
                char16_t code = 0;
                for (; i < size && hexValue(static_cast<uchar>(str.at(i))) >= 0; ++i)
                    code = static_cast<char16_t>((code << 4) + hexValue(static_cast<uchar>(str.at(i))));
                addEscaped(code);
                if (i >= size) {
                    chopAtEnd = false;
                    break;
                }
            } else if (escape == 'x' && i >= size) {
                out.lostEscape = true;
                chopAtEnd = false;
                break;
            } else if (const int first = octValue(escape); first >= 0) {
                auto code = static_cast<char16_t>(first);
                for (; i < size && octValue(str.at(i)) >= 0; ++i)
                    code = static_cast<char16_t>((code << 3) + octValue(str.at(i)));
                addEscaped(code);
                if (i >= size) {
                    chopAtEnd = false;
                    break;
                }
            } else if (isLineEnd(escape)) {
                if (i < size && isLineEnd(str.at(i)) && str.at(i) != escape)
                    ++i;
            } else {
                out.lostEscape = true;
            }
            chopLimit = result.size();
            continue;
        }
        if (ch == '"') {
            if (firstQuote < 0)
                firstQuote = i;
            lastQuote = i;
            ++quotes;
            ++i;
            currentIsQuoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = result.size();
            }
            continue;
        }
        if (ch == ',' && !inQuotes) {
            if (!currentIsQuoted)
                chopBlanks(chopLimit);
            out.isList = true;
            out.list.append(result);
            result.clear();
            currentIsQuoted = false;
            ++i;
            skipBlanks();
            chopLimit = 0;
            continue;
        }
        qsizetype j = i + 1;
        while (j < size && str.at(j) != '\\' && str.at(j) != '"' && str.at(j) != ',')
            ++j;
        result += fromUtf8(str.sliced(i, j - i));
        i = j;
    }
    if (chopAtEnd && !currentIsQuoted)
        chopBlanks(chopLimit);
    if (out.isList)
        out.list.append(result);

    qsizetype first = 0;
    while (first < size && isBlank(str.at(first)))
        ++first;
    qsizetype last = size - 1;
    while (last > first && isBlank(str.at(last)))
        --last;
    out.quotesVanished = quotes > 0 && !(quotes == 2 && firstQuote == first && lastQuote == last);
    return out;
}

// How many items Qt's "@Rect(1 2 3 4)" reading finds: one for each blank and each ')'.
qsizetype argumentCount(const QString& text, qsizetype open)
{
    return std::count_if(text.cbegin() + open + 1, text.cend(),
                         [](QChar c) { return c == u' ' || c == u')'; });
}

// What Qt makes of a read text: a plain text, the inside of @String(...), or (readable false) a
// value of another type.
std::optional<QString> textOf(const QString& s)
{
    if (!s.startsWith(u'@'))
        return s;
    if (s.endsWith(u')')) {
        if (s.startsWith(QLatin1StringView("@String(")))
            return s.sliced(8).chopped(1);
        if (s.startsWith(QLatin1StringView("@ByteArray(")) || s.startsWith(QLatin1StringView("@Variant("))
            || s.startsWith(QLatin1StringView("@DateTime(")) || s == QLatin1StringView("@Invalid()"))
            return std::nullopt;
        if ((s.startsWith(QLatin1StringView("@Rect(")) && argumentCount(s, 5) == 4)
            || (s.startsWith(QLatin1StringView("@Size(")) && argumentCount(s, 5) == 2)
            || (s.startsWith(QLatin1StringView("@Point(")) && argumentCount(s, 6) == 2))
            return std::nullopt;
    }
    if (s.startsWith(QLatin1StringView("@@")))
        return s.sliced(1);
    return s;
}

// A text for a message: control characters shown as their symbols, and not too long.
QString shown(const QString& text)
{
    constexpr qsizetype kMost = 60;
    QString out = text.size() > kMost ? text.left(kMost) + QChar(0x2026) : text;
    for (QChar& c : out) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode());
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
    }
    return out;
}

IniValue readValue(QByteArrayView line, qsizetype equals, qsizetype valueEnd)
{
    const QByteArrayView raw = line.sliced(equals + 1, valueEnd - equals - 1);
    const Unescaped read = unescape(raw);
    const QString asItStands = QString::fromUtf8(raw).trimmed();
    IniValue value;
    if (read.isList) {
        // Qt would give a list; the program has always taken the line as it stands. Qt's list of
        // anything but plain texts ('@' forms) is not text at all.
        value.text = asItStands;
        value.readable = std::none_of(read.list.cbegin(), read.list.cend(), [](const QString& item) {
            return item.startsWith(u'@') && !item.startsWith(QLatin1StringView("@@"));
        });
    } else if (const auto text = textOf(read.text)) {
        value.text = *text;
    } else {
        value.readable = false;
        value.text = asItStands;
    }
    if (!value.readable)
        return value;

    // Only what QSettings never writes (a ';' comment, quotes inside a value, an unknown escape)
    // changes a value without the person asking for it, so a value as QSettings writes it passes
    // silently; a control character from an escape is the exception, being nearly always a path
    // typed with single backslashes.
    const bool cut = valueEnd < line.size();
    const bool escapedControl = !read.isList && read.controlFromEscape;
    if (cut || escapedControl || (!read.isList && (read.lostEscape || read.quotesVanished))) {
        const QString typed = QString::fromUtf8(line.sliced(equals + 1)).trimmed();
        value.remark = QStringLiteral("the file has %1, read as \"%2\"").arg(shown(typed), shown(value.text));
        if (escapedControl)
            value.remark += QStringLiteral(" (write \\\\ for a backslash)");
    }
    return value;
}

} // namespace

IniDocument IniDocument::parse(const QByteArray& content)
{
    IniDocument document;
    document.text_ = content;
    // Lines are read from content: joined lines go to the end of text_, which then moves.
    const QByteArrayView data(content);
    const qsizetype size = data.size();
    qsizetype pos = data.startsWith(kBom) ? 3 : 0;
    int lineNumber = 1;
    bool topLevel = true; // keys before any section header are Qt's [General]
    document.lines_.reserve(static_cast<std::size_t>(std::count_if(data.begin(), data.end(), isLineEnd)) + 1);
    while (pos < size) {
        Line line;
        line.begin = pos;
        const int firstLineNumber = lineNumber;
        qsizetype start = pos;
        while (start < size && isBlank(data[start]))
            ++start;
        qsizetype i = start;
        qsizetype equals = -1;
        qsizetype cut = -1;
        if (start == size || isLineEnd(data[start])) {
            line.size = start - pos;
        } else if (data[start] == ';' || data[start] == '#') {
            while (i < size && !isLineEnd(data[i]))
                ++i;
            line.size = i - pos;
            line.kind = Kind::Comment;
        } else {
            // Qt's reading of a line: a backslash takes the next character along (a line end too,
            // which continues the line), quotes hide '=' and ';', and an unquoted ';' starts a
            // comment. Unlike Qt, a quote left open ends with its line, so that one stray quote
            // cannot swallow the rest of the file.
            QByteArray joined;
            qsizetype segment = pos;
            qsizetype offset = -pos; // from a position in data to one in the line
            bool inQuotes = false;
            while (i < size) {
                const char ch = data[i];
                if (!(kSpecial[static_cast<uchar>(ch)])) {
                    ++i;
                } else if (isLineEnd(ch)) {
                    break;
                } else if (cut >= 0) {
                    ++i;
                } else if (ch == '\\') {
                    ++i;
                    if (i < size && isLineEnd(data[i])) {
                        qsizetype next = i + 1;
                        if (next < size && isLineEnd(data[next]) && data[next] != data[i])
                            ++next;
                        if (next >= size)
                            break; // nothing to continue into: an ordinary end of the last line
                        joined += data.sliced(segment, i - segment);
                        joined += '\n';
                        segment = next;
                        offset = joined.size() - next;
                        i = next;
                        ++lineNumber;
                    } else if (i < size) {
                        ++i;
                    }
                } else {
                    if (ch == '"')
                        inQuotes = !inQuotes;
                    else if (ch == '=' && !inQuotes && equals < 0)
                        equals = i + offset;
                    else if (ch == ';' && !inQuotes)
                        cut = i + offset;
                    ++i;
                }
            }
            if (joined.isEmpty()) {
                line.size = i - pos;
            } else {
                joined += data.sliced(segment, i - segment);
                line.begin = document.text_.size();
                line.size = joined.size();
                document.text_ += joined;
            }

            const QByteArrayView text = document.bytes(line);
            const qsizetype lineStart = start - pos;
            const qsizetype end = cut >= 0 ? cut : text.size();
            if (text[lineStart] == '[') {
                // As Qt: the name ends at the first ']', or with the line when there is none.
                const QByteArrayView inside = text.sliced(lineStart + 1, end - lineStart - 1);
                const qsizetype close = inside.indexOf(']');
                topLevel = isGeneral((close < 0 ? inside : inside.first(close)).trimmed());
                line.kind = Kind::Section;
            } else if (equals >= 0) {
                line.kind = Kind::Setting;
                line.equals = equals;
                line.valueEnd = end;
                const QByteArrayView key = text.sliced(lineStart, equals - lineStart).trimmed();
                if (topLevel && !isPlainKey(key)) {
                    line.decodedKey = static_cast<qsizetype>(document.keys_.size());
                    document.keys_.push_back(decodeKey(key));
                }
            } else {
                line.kind = Kind::Stray;
                document.ignored_.push_back({ firstLineNumber, line.begin, line.size });
            }
        }
        line.topLevel = topLevel;
        if (i < size) {
            i += data[i] == '\r' && i + 1 < size && data[i + 1] == '\n' ? 2 : 1;
            ++lineNumber;
        }
        pos = i;
        document.lines_.push_back(line);
    }
    return document;
}

bool IniDocument::isTopLevelKey(const Line& line, const QString& key) const
{
    if (line.kind != Kind::Setting || !line.topLevel)
        return false;
    if (line.decodedKey >= 0)
        return keys_[static_cast<std::size_t>(line.decodedKey)] == key;
    const QByteArrayView spelled = bytes(line).first(line.equals).trimmed();
    return QLatin1StringView(spelled.data(), spelled.size()) == key;
}

std::optional<IniValue> IniDocument::value(const QString& key) const
{
    const auto found = std::find_if(lines_.crbegin(), lines_.crend(),
                                    [&](const Line& line) { return isTopLevelKey(line, key); });
    if (found == lines_.crend())
        return std::nullopt;
    return readValue(bytes(*found), found->equals, found->valueEnd);
}

IniDocument::Line IniDocument::settingLine(const QString& key, const QString& text)
{
    QByteArray written;
    encodeKey(key, written);
    Line line;
    line.kind = Kind::Setting;
    line.topLevel = true;
    if (!isPlainKey(written)) {
        line.decodedKey = static_cast<qsizetype>(keys_.size());
        keys_.push_back(key);
    }
    line.equals = written.size();
    written += '=';
    written += encodeText(text);
    line.valueEnd = line.size = written.size();
    line.begin = text_.size();
    text_ += written;
    return line;
}

// Where a new top-level key goes: after the last top-level key, else under the last [General]
// header, else after what stands before the first header; 0 when there is no top-level region.
std::size_t IniDocument::newKeyPosition() const
{
    std::size_t afterHeader = 0;
    for (std::size_t i = lines_.size(); i-- > 0;) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Setting && line.topLevel)
            return i + 1;
        if (line.kind == Kind::Section && line.topLevel && afterHeader == 0)
            afterHeader = i + 1;
    }
    if (afterHeader != 0)
        return afterHeader;
    std::size_t afterLead = 0;
    for (std::size_t i = 0; i < lines_.size() && lines_[i].kind != Kind::Section; ++i) {
        if (lines_[i].kind != Kind::Blank)
            afterLead = i + 1;
    }
    return afterLead;
}

bool IniDocument::setValue(const QString& key, const QString& text)
{
    const auto isKey = [&](const Line& line) {
        return isTopLevelKey(line, key);
    };
    const auto winner = std::find_if(lines_.rbegin(), lines_.rend(), isKey);
    if (winner != lines_.rend()) {
        const Line replacement = settingLine(key, text);
        const auto winnerAt = winner.base() - 1;
        bool changed = bytes(*winnerAt) != bytes(replacement);
        *winnerAt = replacement;
        const auto repeats = std::remove_if(lines_.begin(), winnerAt, isKey);
        changed = changed || repeats != winnerAt;
        lines_.erase(repeats, winnerAt);
        return changed;
    }

    const std::size_t at = newKeyPosition();
    if (at == 0) {
        std::vector<Line> top(2);
        top[0].begin = text_.size();
        top[0].size = 9;
        text_ += "[General]";
        top[0].kind = Kind::Section;
        top[0].topLevel = true;
        top[1] = settingLine(key, text);
        // A blank line before the next section, as QSettings writes them.
        if (!lines_.empty() && lines_.front().kind != Kind::Blank)
            top.emplace_back().topLevel = true;
        lines_.insert(lines_.begin(), top.begin(), top.end());
        return true;
    }
    const Line added = settingLine(key, text);
    auto where = lines_.begin() + static_cast<std::ptrdiff_t>(at);
    // A last line ending in a backslash would run on into the new one; a blank line between ends it.
    if (bytes(lines_[at - 1]).endsWith('\\')) {
        where = lines_.insert(where, Line {});
        where->topLevel = true;
        ++where;
    }
    lines_.insert(where, added);
    return true;
}

QByteArray IniDocument::toBytes() const
{
    // A first line that starts with a byte-order mark (one that stood lower down before the lines
    // above it went) would read as the file's own mark; a blank line before it keeps it a line.
    const bool markFirst = !lines_.empty() && bytes(lines_.front()).startsWith(kBom);
    qsizetype total = markFirst ? 1 : 0;
    for (const Line& line : lines_)
        total += line.size + 1;
    QByteArray out(total, Qt::Uninitialized);
    char* to = out.data();
    if (markFirst)
        *to++ = '\n';
    for (const Line& line : lines_) {
        to = std::copy_n(text_.constData() + line.begin, line.size, to);
        *to++ = '\n';
    }
    return out;
}

QStringList IniDocument::ignoredLines() const
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(ignored_.size()));
    for (const Ignored& ignored : ignored_) {
        const QByteArrayView text = QByteArrayView(text_).sliced(ignored.begin, ignored.size);
        lines.append(QStringLiteral("line %1: \"%2\" is not a setting")
                         .arg(QString::number(ignored.number), shown(QString::fromUtf8(text).trimmed())));
    }
    return lines;
}

} // namespace vqdbd

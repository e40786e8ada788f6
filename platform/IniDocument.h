// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings file is read and written here rather than through QSettings, for three reasons:
// - a person's own edits survive a save: comments, blank lines, other sections and lines that are no
//   setting stay where they were, and only the lines of the keys saved change;
// - each reading is explained key by key (IniValue::remark, ignoredLines()), so that the clock can say
//   what in a hand-edited file it read otherwise than it stands there, or did not read at all;
// - a full disk is survived: the file is built in memory and replaced whole (settingsfile::replace),
//   and a save that fails leaves the old file and says which step failed.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vqdbd {

// What a top-level key of an INI file holds, read by the rules of Qt's IniFormat.
struct IniValue
{
    // False for a value Qt would not give back as text: @Invalid(), @ByteArray(...), @Variant(...),
    // @Rect(...) and the like.
    bool readable = true;
    // The text read. A hand-written list ("a, b": an unquoted comma at the top level) reads as the
    // text as it stands in the file, and so does an unreadable value.
    QString text;
    // Set when the INI rules read something other than what stands in the file in a way a person
    // typing by hand may not mean: a ';' that ends the value, quotes that vanish, a backslash escape
    // that became a tab or a newline. Says what stands in the file and what was read.
    QString remark;
};

// A settings file kept as its lines, so that a rewrite changes only the lines of the keys it sets
// and keeps everything else a person wrote: comment lines, blank lines, other sections, lines it
// does not understand. Reads follow Qt's IniFormat, so a file written by QSettings reads the same,
// and what toBytes() writes reads the same through QSettings.
class IniDocument
{
public:
    static IniDocument parse(const QByteArray& content);

    // A key at the top level of the file (in [General], or before any section header); when a key
    // is repeated the last one wins.
    std::optional<IniValue> value(const QString& key) const;
    // Sets a top-level key: its winning line is rewritten in place and earlier repeats dropped; a new
    // key goes after the last key of the top level, or into a new [General] section at the top.
    // Returns whether the document changed: false when the key already stood so, alone.
    bool setValue(const QString& key, const QString& text);

    // UTF-8 without a byte-order mark, LF line ends.
    QByteArray toBytes() const;

    // Lines that are neither a setting, a comment, a blank line nor a section header, and so are
    // ignored (kept as they are on a rewrite): "line 7: \"stray\" is not a setting".
    QStringList ignoredLines() const;

private:
    enum class Kind : unsigned char
    {
        Blank,
        Comment,
        Section,
        Setting,
        Stray,
    };
    // Lines point into text_ rather than own their bytes, so that a large file costs one buffer.
    struct Line
    {
        qsizetype begin = 0; // the line as it stands, without its line end (a continued line: LF inside)
        qsizetype size = 0;
        qsizetype equals = -1; // a setting's '=', counted from begin
        qsizetype valueEnd = 0; // where a setting's value ends: the line's end, or a ';' comment
        qsizetype decodedKey = -1; // in keys_, for a top-level name spelled with escapes or non-ASCII
        Kind kind = Kind::Blank;
        bool topLevel = false; // before any section header or in [General]; a header: is [General]
    };
    struct Ignored
    {
        int number;
        qsizetype begin;
        qsizetype size;
    };
    QByteArrayView bytes(const Line& line) const
    {
        return QByteArrayView(text_).sliced(line.begin, line.size);
    }
    bool isTopLevelKey(const Line& line, const QString& key) const;
    Line settingLine(const QString& key, const QString& text);
    std::size_t newKeyPosition() const;

    QByteArray text_; // the file as read, then joined and rewritten lines after it
    std::vector<Line> lines_;
    std::vector<QString> keys_;
    std::vector<Ignored> ignored_;
};

} // namespace vqdbd

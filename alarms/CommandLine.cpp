// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QDir>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace vqdbd {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isOperator(QChar c)
{
    return c == u'|' || c == u'&' || c == u';' || c == u'<' || c == u'>' || c == u'(' || c == u')';
}

bool isNameStart(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9');
}

// $1 to $9, $0, $@, $*, $#, $?, $-, $$ and $!: what they stand for is known to a shell only.
bool isSpecialParameter(QChar c)
{
    return (c >= u'0' && c <= u'9') || QStringView(u"@*#?-$!").contains(c);
}

const QString kUseAShell
    = QStringLiteral("the command line is run without a shell; to use one, write sh -c '...'");

class Splitter
{
public:
    Splitter(const QString& line, const WordExpansion& expansion)
        : line_(line)
        , expansion_(expansion)
    { }

    SplitCommandLine run()
    {
        while (problem_.isEmpty() && at_ < line_.size()) {
            switch (quote_) {
            case Quote::None:
                plain();
                break;
            case Quote::Single:
                single();
                break;
            case Quote::Double:
                doubled();
                break;
            }
        }
        if (problem_.isEmpty() && quote_ == Quote::Single)
            problem_ = QStringLiteral("it has a single quote (') that is never closed");
        if (problem_.isEmpty() && quote_ == Quote::Double)
            problem_ = QStringLiteral("it has a double quote (\") that is never closed");
        if (!problem_.isEmpty())
            return { {}, problem_ };
        endWord();
        if (words_.isEmpty())
            return { {}, QStringLiteral("the command line is empty") };
        return { words_, {} };
    }

private:
    enum class Quote
    {
        None,
        Single,
        Double,
    };

    QChar next(qsizetype ahead = 0) const
    {
        const qsizetype index = at_ + ahead;
        return index < line_.size() ? line_.at(index) : QChar();
    }

    void literal(QChar c)
    {
        word_.append(c);
        started_ = true;
        keep_ = true;
    }

    void endWord()
    {
        // A word made only of unquoted expansions that came to nothing is dropped, as a shell does.
        if (started_ && (keep_ || !word_.isEmpty()))
            words_.append(word_);
        word_.clear();
        started_ = false;
        keep_ = false;
    }

    void plain()
    {
        const QChar c = next();
        if (isBlank(c)) {
            endWord();
            ++at_;
        } else if (c == u'#' && !started_) {
            at_ = line_.size();
        } else if (isOperator(c)) {
            problem_ = QStringLiteral("it uses the shell operator \"%1\", but %2").arg(c).arg(kUseAShell);
        } else if (c == u'\\') {
            backslash(true);
        } else if (c == u'\'' || c == u'"') {
            quote_ = c == u'\'' ? Quote::Single : Quote::Double;
            started_ = true;
            keep_ = true;
            ++at_;
        } else if (c == u'`') {
            commandSubstitution();
        } else if (c == u'$') {
            dollar();
        } else if (c == u'~' && !started_) {
            tilde();
        } else {
            literal(c);
            ++at_;
        }
    }

    void single()
    {
        const QChar c = next();
        ++at_;
        if (c == u'\'')
            quote_ = Quote::None;
        else
            word_.append(c);
    }

    void doubled()
    {
        const QChar c = next();
        if (c == u'"') {
            quote_ = Quote::None;
            ++at_;
        } else if (c == u'\\') {
            backslash(false);
        } else if (c == u'`') {
            commandSubstitution();
        } else if (c == u'$') {
            dollar();
        } else {
            word_.append(c);
            ++at_;
        }
    }

    void backslash(bool unquoted)
    {
        const QChar escaped = next(1);
        if (escaped.isNull()) {
            literal(u'\\');
            ++at_;
            return;
        }
        at_ += 2;
        if (escaped == u'\n') // a line continuation
            return;
        const bool special = escaped == u'$' || escaped == u'`' || escaped == u'"' || escaped == u'\\';
        if (!unquoted && !special)
            word_.append(u'\\');
        literal(escaped);
    }

    void commandSubstitution()
    {
        problem_
            = QStringLiteral("it asks for command substitution, which is never done; %1").arg(kUseAShell);
    }

    void dollar()
    {
        const QChar c = next(1);
        if (c == u'(') {
            commandSubstitution();
            return;
        }
        if (c == u'{') {
            const qsizetype close = line_.indexOf(u'}', at_ + 2);
            if (close < 0) {
                problem_ = QStringLiteral("it has a \"${\" that is never closed");
                return;
            }
            const QString name = line_.mid(at_ + 2, close - at_ - 2);
            if (name.isEmpty() || !isNameStart(name.front())
                || !std::all_of(name.begin(), name.end(), [](QChar n) { return isNameChar(n); })) {
                problem_ = QStringLiteral("\"${%1}\" is not a plain ${NAME}; %2").arg(name, kUseAShell);
                return;
            }
            expand(name);
            at_ = close + 1;
            return;
        }
        if (isNameStart(c)) {
            qsizetype end = at_ + 1;
            while (end < line_.size() && isNameChar(line_.at(end)))
                ++end;
            expand(line_.mid(at_ + 1, end - at_ - 1));
            at_ = end;
            return;
        }
        if (isSpecialParameter(c)) {
            problem_ = QStringLiteral("it uses the shell's special parameter \"$%1\", which has no value "
                                      "here; %2")
                           .arg(c)
                           .arg(kUseAShell);
            return;
        }
        literal(u'$');
        ++at_;
    }

    void expand(const QString& name)
    {
        word_.append(expansion_.variable ? expansion_.variable(name).value_or(QString()) : QString());
        started_ = true;
    }

    void tilde()
    {
        // The prefix runs to the first slash or the end of the word; a quoted prefix is not expanded.
        qsizetype end = at_ + 1;
        while (end < line_.size()) {
            const QChar c = line_.at(end);
            if (c == u'/' || isBlank(c) || isOperator(c))
                break;
            if (c == u'\'' || c == u'"' || c == u'\\' || c == u'$' || c == u'`') {
                literal(u'~');
                ++at_;
                return;
            }
            ++end;
        }
        const QString user = line_.mid(at_ + 1, end - at_ - 1);
        const std::optional<QString> home = expansion_.homeOf ? expansion_.homeOf(user) : std::nullopt;
        if (!home) {
            literal(u'~');
            ++at_;
            return;
        }
        word_.append(*home);
        started_ = true;
        keep_ = true;
        at_ = end;
    }

    const QString& line_;
    const WordExpansion& expansion_;
    qsizetype at_ = 0;
    Quote quote_ = Quote::None;
    QString word_;
    bool started_ = false; // the current word has begun
    bool keep_ = false; // it holds a literal or quoted part, so it stays even when empty
    QStringList words_;
    QString problem_;
};

std::optional<QString> homeOfUser(const QString& user)
{
    if (user.isEmpty())
        return QDir::homePath();
    const QByteArray name = user.toLocal8Bit();
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry {};
    passwd* found = nullptr;
    if (getpwnam_r(name.constData(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return QString::fromLocal8Bit(found->pw_dir);
}

} // namespace

WordExpansion systemExpansion()
{
    WordExpansion expansion;
    expansion.variable = [](const QString& name) -> std::optional<QString> {
        const QByteArray key = name.toLocal8Bit();
        if (!qEnvironmentVariableIsSet(key.constData()))
            return std::nullopt;
        return qEnvironmentVariable(key.constData());
    };
    expansion.homeOf = homeOfUser;
    return expansion;
}

SplitCommandLine splitCommandLine(const QString& line, const WordExpansion& expansion)
{
    return Splitter(line, expansion).run();
}

} // namespace vqdbd

// SPDX-License-Identifier: GPL-3.0-or-later
#include "alarms/CommandLine.h"

#include <QTest>

using namespace vqdbd;

namespace {

WordExpansion fixedExpansion()
{
    WordExpansion expansion;
    expansion.variable = [](const QString& name) -> std::optional<QString> {
        if (name == u"WHO")
            return QStringLiteral("the user");
        if (name == u"EMPTY")
            return QString();
        return std::nullopt;
    };
    expansion.homeOf = [](const QString& user) -> std::optional<QString> {
        if (user.isEmpty())
            return QStringLiteral("/home/me");
        if (user == u"ann")
            return QStringLiteral("/home/ann");
        return std::nullopt;
    };
    return expansion;
}

} // namespace

class TestCommandLine final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void splitsLikeAShell_data();
    void splitsLikeAShell();
    void refusesWhatNeedsAShell_data();
    void refusesWhatNeedsAShell();
};

void TestCommandLine::splitsLikeAShell_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("blanks separate") << "  notify-send \t hello   world "
                                     << QStringList { "notify-send", "hello", "world" };
    QTest::newRow("single quotes keep all")
        << "sh -c 'echo hi >> ~/log'" << QStringList { "sh", "-c", "echo hi >> ~/log" };
    QTest::newRow("double quotes expand") << "echo \"hi $WHO\"" << QStringList { "echo", "hi the user" };
    QTest::newRow("double quote escapes")
        << R"(echo "a\"b\\c\$d\e")" << QStringList { "echo", R"(a"b\c$d\e)" };
    QTest::newRow("backslash outside quotes") << R"(echo a\ b \'c\')" << QStringList { "echo", "a b", "'c'" };
    QTest::newRow("quotes join a word") << R"(x'a b'"c d"e)" << QStringList { "xa bc de" };
    QTest::newRow("empty quotes are a word") << "printf '' x" << QStringList { "printf", "", "x" };
    QTest::newRow("unset variable vanishes") << "echo $NOPE $EMPTY end" << QStringList { "echo", "end" };
    QTest::newRow("braced variable, no field split") << "echo ${WHO}s" << QStringList { "echo", "the users" };
    QTest::newRow("lone dollar stays") << "echo $ 5$" << QStringList { "echo", "$", "5$" };
    QTest::newRow("quoted special parameters stay")
        << R"(echo '$$' \$? "\$1")" << QStringList { "echo", "$$", "$?", "$1" };
    QTest::newRow("dollar before other signs stays")
        << "echo a$%b $/ $:" << QStringList { "echo", "a$%b", "$/", "$:" };
    QTest::newRow("tilde at word start")
        << "ls ~ ~/x ~ann/y a~" << QStringList { "ls", "/home/me", "/home/me/x", "/home/ann/y", "a~" };
    QTest::newRow("unknown user keeps tilde") << "ls ~nobody99" << QStringList { "ls", "~nobody99" };
    QTest::newRow("quoted tilde stays") << "ls '~' \"~\"" << QStringList { "ls", "~", "~" };
    QTest::newRow("comment") << "echo a #b c" << QStringList { "echo", "a" };
    QTest::newRow("hash inside a word") << "echo a#b" << QStringList { "echo", "a#b" };
    QTest::newRow("globs are literal") << "ls *.txt" << QStringList { "ls", "*.txt" };
    QTest::newRow("default text") << "Run Command" << QStringList { "Run", "Command" };
}

void TestCommandLine::splitsLikeAShell()
{
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    const SplitCommandLine split = splitCommandLine(line, fixedExpansion());
    QCOMPARE(split.problem, QString());
    QCOMPARE(split.words, words);
}

void TestCommandLine::refusesWhatNeedsAShell_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << ""
                           << "the command line is empty";
    QTest::newRow("blanks") << "   "
                            << "the command line is empty";
    QTest::newRow("unmatched single quote") << "echo 'hi"
                                            << "single quote (') that is never closed";
    QTest::newRow("unmatched double quote") << "echo \"hi"
                                            << "double quote (\") that is never closed";
    QTest::newRow("pipe") << "ls | wc"
                          << "shell operator \"|\"";
    QTest::newRow("redirection") << "echo hi >> log"
                                 << "shell operator \">\"";
    QTest::newRow("command substitution") << "echo $(id)"
                                          << "command substitution";
    QTest::newRow("backquotes in double quotes") << "echo \"`id`\""
                                                 << "command substitution";
    QTest::newRow("unclosed brace") << "echo ${HOME"
                                    << "never closed";
    QTest::newRow("parameter operators") << "echo ${X:-y}"
                                         << "not a plain ${NAME}";
    for (const char* parameter : { "$$", "$1", "$?", "$#", "$!", "$@", "$*", "$-", "$0" })
        QTest::addRow("special parameter %s", parameter)
            << QStringLiteral("echo %1").arg(parameter)
            << QStringLiteral("special parameter \"%1\"").arg(parameter);
    QTest::newRow("inside double quotes") << "echo \"pid $$\""
                                          << "special parameter \"$$\"";
    QTest::newRow("after a variable") << "echo $WHO$1"
                                      << "special parameter \"$1\"";
    QTest::newRow("braced position") << "echo ${1}"
                                     << "not a plain ${NAME}";
}

void TestCommandLine::refusesWhatNeedsAShell()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    const SplitCommandLine split = splitCommandLine(line, fixedExpansion());
    QVERIFY2(split.problem.contains(reason), qPrintable(split.problem));
    QVERIFY(split.words.isEmpty());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"

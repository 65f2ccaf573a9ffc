#include "core/ShellWords.h"

namespace ShellWords {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

bool escapableInDoubleQuotes(QChar c)
{
    return c == QLatin1Char('$') || c == QLatin1Char('`') || c == QLatin1Char('"') ||
           c == QLatin1Char('\\') || c == QLatin1Char('\n');
}

} // namespace

Result split(const QString& line)
{
    Result result;
    QString word;
    bool inWord = false; // also true for a word made only of quotes: "" is an empty argument
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = line.at(i);
        if (isBlank(c)) {
            if (inWord) {
                result.words.append(word);
                word.clear();
                inWord = false;
            }
            ++i;
        } else if (c == QLatin1Char('\\')) {
            inWord = true;
            if (i + 1 < n && line.at(i + 1).isLetterOrNumber()) {
                result.ok = false;
                result.problem = Problem::BackslashBeforeLetter;
                result.position = i;
                break;
            }
            if (i + 1 < n) {
                // Backslash-newline joins lines, as in a shell.
                if (line.at(i + 1) != QLatin1Char('\n'))
                    word.append(line.at(i + 1));
                i += 2;
            } else {
                word.append(c); // a trailing backslash has nothing to escape
                ++i;
            }
        } else if (c == QLatin1Char('\'')) {
            inWord = true;
            const qsizetype close = line.indexOf(QLatin1Char('\''), i + 1);
            if (close < 0) {
                result.ok = false;
                result.problem = Problem::UnclosedQuote;
                result.position = i;
                break;
            }
            word.append(QStringView(line).mid(i + 1, close - i - 1));
            i = close + 1;
        } else if (c == QLatin1Char('"')) {
            inWord = true;
            const qsizetype open = i;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar d = line.at(i);
                if (d == QLatin1Char('"')) {
                    closed = true;
                    ++i;
                    break;
                }
                if (d == QLatin1Char('\\') && i + 1 < n &&
                    escapableInDoubleQuotes(line.at(i + 1))) {
                    if (line.at(i + 1) != QLatin1Char('\n'))
                        word.append(line.at(i + 1));
                    i += 2;
                    continue;
                }
                word.append(d);
                ++i;
            }
            if (!closed) {
                result.ok = false;
                result.problem = Problem::UnclosedQuote;
                result.position = open;
                break;
            }
        } else {
            inWord = true;
            word.append(c);
            ++i;
        }
    }
    if (!result.ok) {
        result.words.clear();
        return result;
    }
    if (inWord)
        result.words.append(word);
    return result;
}

} // namespace ShellWords

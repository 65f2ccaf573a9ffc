#pragma once

#include <QString>
#include <QStringList>

// Splits a run item's parameter line into words the way a POSIX shell does, without expanding
// anything: blanks separate words, single quotes keep everything literally, double quotes keep
// everything except that a backslash before $ ` " \ escapes it, and an unquoted backslash takes
// the next character literally. $, `, *, ;, | and the like stay plain text.
// Two things a shell would accept are refused, because the words would not be what the user
// typed: a quote left open, and an unquoted backslash before a letter or digit (C:\Temp would
// reach the program as C:Temp).
namespace ShellWords {

enum class Problem { None, UnclosedQuote, BackslashBeforeLetter };

struct Result {
    QStringList words;
    // False when the line is refused; words is then empty.
    bool ok = true;
    Problem problem = Problem::None;
    qsizetype position = -1; // where the refused quote or backslash stands
};

Result split(const QString& line);

} // namespace ShellWords

#pragma once

#include <QString>
#include <QStringList>

// Splits a parameter line into words the way a POSIX shell does, without expanding anything:
// blanks separate words, single quotes keep everything literally, double quotes keep
// everything except that a backslash before $ ` " \ or a newline escapes it, and an unquoted
// backslash takes the next character literally. $, `, *, ;, | and the like stay plain text.
namespace ShellWords {

struct Result {
    QStringList words;
    // False for an unterminated quote: the line cannot be split as the user meant it.
    bool ok = true;
};

Result split(const QString& line);

} // namespace ShellWords

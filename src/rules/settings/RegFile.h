#pragma once

#include "ports/IRegistry.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The settings file in REGEDIT4 form: sections named by full key paths, each with
// "Name"=dword:0000000a, "Name"="text" or another type kept as written. The file is handled as
// the bytes it holds: names and key paths are compared, never re-encoded, and a write changes
// one value and keeps every other byte (comments, blank lines, lines we do not know, line
// ends). Lines end at CR LF, LF or CR. Every call makes one pass over the text and builds no
// tree, so a lookup costs the same whatever the file holds.
class RegFile {
public:
    // Whether the text is a settings file as a whole: nothing yet (empty or only blanks), or
    // the REGEDIT4 header line followed by text without NUL bytes. Anything else belongs to
    // somebody else and must be neither read nor replaced.
    static bool understood(const QByteArray& text);

    // The value of that name under that key. Key paths and names compare without regard to
    // ASCII case; of several values of the same name, the last readable one in the file wins.
    // Malformed lines are passed over.
    static std::optional<RegValue> find(const QByteArray& text, const QString& keyPath,
                                        const QString& name);

    // The text with one value set. The value that find() returns has its right-hand side
    // replaced, so the same one wins for reading and writing; a new value goes after the last
    // line of its key, a new key at the end of the file. Everything else is kept as it was.
    static QByteArray withValue(const QByteArray& text, const QString& keyPath, const QString& name,
                                const RegValue& value);
};

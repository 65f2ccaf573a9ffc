#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One stored value of the per-user settings tree.
struct RegValue {
    enum class Type { Sz, Dword, Other };
    Type type = Type::Other;
    QByteArray text;   // Sz: the text, UTF-8, without a terminating NUL
    quint32 dword = 0; // Dword: the 32-bit value
    QByteArray raw;    // Other: the stored right-hand side, kept as it was found

    static RegValue fromText(const QByteArray& t) { return {Type::Sz, t, 0, {}}; }
    static RegValue fromDword(quint32 v) { return {Type::Dword, {}, v, {}}; }
    bool operator==(const RegValue&) const = default;
};

// What became of a write.
enum class RegWrite {
    Stored,
    Busy,        // another process holds the store for a write of its own: try again later
    Refused,     // not stored: the store cannot be read, is not ours or may not be replaced
    NoResources, // not stored: the process or the system ran out of file descriptors
};

// One value to set, with where it goes.
struct RegEntry {
    QString keyPath;
    QString name;
    RegValue value;
};

// The per-user settings tree: keys named by backslash paths below HKEY_CURRENT_USER.
// Every call opens, reads or updates one value, and closes again; nothing is cached.
class IRegistry {
public:
    virtual ~IRegistry() = default;
    // The value, or nothing when the key or the value does not exist or cannot be read.
    virtual std::optional<RegValue> queryValue(const QString& keyPath, const QString& name) = 0;
    // Creates the key path when missing and sets the value. Never waits for another process.
    virtual RegWrite setValue(const QString& keyPath, const QString& name,
                              const RegValue& value) = 0;
    // Sets several values as one change: a store kept in one file rewrites it once. Applied in
    // order; the first result other than Stored ends it and is returned.
    virtual RegWrite setValues(const QList<RegEntry>& entries)
    {
        for (const RegEntry& e : entries) {
            const RegWrite result = setValue(e.keyPath, e.name, e.value);
            if (result != RegWrite::Stored)
                return result;
        }
        return RegWrite::Stored;
    }
    // True once a call has met a store that exists but is not in a form this program
    // understands; such a store yields nothing and refuses every write, so it is never replaced.
    virtual bool foundNotUnderstood() const { return false; }
    // Where the store is kept, for messages.
    virtual QString location() const { return {}; }
};

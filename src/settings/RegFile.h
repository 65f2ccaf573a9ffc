#pragma once

#include "platform/IRegistry.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The settings file in REGEDIT4 form: sections named by full key paths, each with
// "Name"=dword:0000000a, "Name"="text" or another type kept as written.
class RegFile {
public:
    struct Entry {
        QString name;
        RegValue value;
    };
    struct Key {
        QString path; // e.g. HKEY_CURRENT_USER\Software\Quillfern\Horolux\1.0\Settings
        QList<Entry> entries;
    };

    // Reads what can be read; malformed lines are passed over.
    static RegFile parse(const QByteArray& text);
    QByteArray serialize() const;

    const Key* findKey(const QString& path) const;
    const RegValue* find(const QString& path, const QString& name) const;
    void set(const QString& path, const QString& name, const RegValue& value);
    const QList<Key>& keys() const { return m_keys; }

private:
    static void set(Key* key, const QString& name, const RegValue& value);
    QList<Key> m_keys;
};

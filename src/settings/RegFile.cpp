#include "settings/RegFile.h"

#include <QList>

namespace {

// Key and value names compare without regard to case, as the registry does.
bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Reads a quoted string starting at text[pos] == '"'. On success pos is just past the
// closing quote.
bool readQuoted(const QByteArray& text, int& pos, QByteArray& out)
{
    if (pos >= text.size() || text[pos] != '"')
        return false;
    out.clear();
    for (int i = pos + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            out.append(text[++i]);
        } else if (c == '"') {
            pos = i + 1;
            return true;
        } else {
            out.append(c);
        }
    }
    return false;
}

QByteArray quote(const QByteArray& raw)
{
    QByteArray out;
    out.reserve(raw.size() + 2);
    out.append('"');
    for (char c : raw) {
        if (c == '\\' || c == '"')
            out.append('\\');
        out.append(c);
    }
    out.append('"');
    return out;
}

bool parseDword(const QByteArray& hex, quint32& value)
{
    if (hex.isEmpty() || hex.size() > 8)
        return false;
    bool ok = false;
    value = hex.toUInt(&ok, 16);
    return ok;
}

// A stored text keeps no NUL and no line break: either would break the line form.
QByteArray cleanText(const QByteArray& text)
{
    const int nul = text.indexOf('\0');
    QByteArray t = nul >= 0 ? text.left(nul) : text;
    t.replace('\r', ' ');
    t.replace('\n', ' ');
    return t;
}

} // namespace

RegFile RegFile::parse(const QByteArray& text)
{
    RegFile file;
    Key* current = nullptr;
    const QList<QByteArray> lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        QByteArray line = lines[n];
        if (line.endsWith('\r'))
            line.chop(1);
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(';'))
            continue;
        if (trimmed.startsWith('[')) {
            current = nullptr;
            if (!trimmed.endsWith(']') || trimmed.startsWith("[-"))
                continue;
            const QString path = QString::fromUtf8(trimmed.mid(1, trimmed.size() - 2));
            for (Key& k : file.m_keys)
                if (sameName(k.path, path))
                    current = &k;
            if (!current) {
                file.m_keys.append(Key{path, {}});
                current = &file.m_keys.last();
            }
            continue;
        }
        if (!current || !trimmed.startsWith('"'))
            continue;
        int pos = 0;
        QByteArray name;
        if (!readQuoted(trimmed, pos, name) || pos >= trimmed.size() || trimmed[pos] != '=')
            continue;
        QByteArray rhs = trimmed.mid(pos + 1);
        RegValue value;
        if (rhs.startsWith('"')) {
            int vpos = 0;
            QByteArray t;
            if (!readQuoted(rhs, vpos, t) || vpos != rhs.size())
                continue;
            value = RegValue::fromText(cleanText(t));
        } else if (rhs.startsWith("dword:")) {
            quint32 v = 0;
            if (!parseDword(rhs.mid(6), v))
                continue;
            value = RegValue::fromDword(v);
        } else if (rhs.startsWith("hex")) {
            // Binary and other types may continue over several lines ending in a backslash.
            while (rhs.endsWith('\\') && n + 1 < lines.size())
                rhs = rhs.chopped(1) + lines[++n].trimmed();
            value.type = RegValue::Type::Other;
            value.raw = rhs;
        } else {
            continue;
        }
        set(current, QString::fromUtf8(name), value);
    }
    return file;
}

void RegFile::set(Key* key, const QString& name, const RegValue& value)
{
    for (Entry& e : key->entries) {
        if (sameName(e.name, name)) {
            e.value = value;
            return;
        }
    }
    key->entries.append(Entry{name, value});
}

QByteArray RegFile::serialize() const
{
    QByteArray out = "REGEDIT4\n";
    for (const Key& k : m_keys) {
        out += "\n[" + k.path.toUtf8() + "]\n";
        for (const Entry& e : k.entries) {
            out += quote(e.name.toUtf8()) + '=';
            switch (e.value.type) {
            case RegValue::Type::Sz:
                out += quote(cleanText(e.value.text));
                break;
            case RegValue::Type::Dword:
                out += "dword:" + QByteArray::number(e.value.dword, 16).rightJustified(8, '0');
                break;
            case RegValue::Type::Other:
                out += e.value.raw;
                break;
            }
            out += '\n';
        }
    }
    return out;
}

const RegFile::Key* RegFile::findKey(const QString& path) const
{
    for (const Key& k : m_keys)
        if (sameName(k.path, path))
            return &k;
    return nullptr;
}

const RegValue* RegFile::find(const QString& path, const QString& name) const
{
    const Key* k = findKey(path);
    if (!k)
        return nullptr;
    for (const Entry& e : k->entries)
        if (sameName(e.name, name))
            return &e.value;
    return nullptr;
}

void RegFile::set(const QString& path, const QString& name, const RegValue& value)
{
    for (Key& k : m_keys) {
        if (sameName(k.path, path)) {
            set(&k, name, value);
            return;
        }
    }
    m_keys.append(Key{path, {}});
    set(&m_keys.last(), name, value);
}

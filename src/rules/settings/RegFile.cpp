#include "rules/settings/RegFile.h"

#include <algorithm>
#include <cstring>

namespace {

const QByteArray Header = QByteArrayLiteral("REGEDIT4");
const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Only ASCII letters fold: folding other bytes would change UTF-8 sequences.
char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameAscii(const char* a, qsizetype n, const QByteArray& b)
{
    if (n != b.size())
        return false;
    for (qsizetype i = 0; i < n; ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

// One line: its content without blanks at either end [begin, end), the end of its whole
// content before the line end (rawEnd) and where the next line starts.
struct Line {
    qsizetype begin;
    qsizetype end;
    qsizetype rawEnd;
    qsizetype next;
};

// Splits the text into lines. Each kind of line end is searched with memchr and its next
// position kept, so a file of any size is passed over twice at most.
class Lines {
public:
    explicit Lines(const QByteArray& text) : m_p(text.constData()), m_size(text.size()) {}

    bool atEnd(qsizetype pos) const { return pos >= m_size; }

    Line at(qsizetype pos)
    {
        const qsizetype e = std::min(next(m_lf, '\n', pos), next(m_cr, '\r', pos));
        Line l{pos, e, e, e};
        if (e < m_size)
            l.next = e + (m_p[e] == '\r' && e + 1 < m_size && m_p[e + 1] == '\n' ? 2 : 1);
        while (l.begin < l.end && isSpace(m_p[l.begin]))
            ++l.begin;
        while (l.end > l.begin && isSpace(m_p[l.end - 1]))
            --l.end;
        return l;
    }

private:
    qsizetype next(qsizetype& cached, char c, qsizetype pos) const
    {
        if (cached < pos) {
            const void* hit = std::memchr(m_p + pos, c, size_t(m_size - pos));
            cached = hit ? static_cast<const char*>(hit) - m_p : m_size;
        }
        return cached;
    }

    const char* m_p;
    qsizetype m_size;
    qsizetype m_lf = -1;
    qsizetype m_cr = -1;
};

// Walks the quoted string starting at p[pos] == '"' (a backslash takes the next byte as it
// is) and returns the position just past the closing quote, or -1. With `out` the unescaped
// bytes are collected; with `name` they are compared with it, and `same` says whether they
// were equal.
qsizetype readQuoted(const char* p, qsizetype pos, qsizetype end, QByteArray* out,
                     const QByteArray* name = nullptr, bool* same = nullptr)
{
    qsizetype k = 0;
    bool equal = true;
    for (qsizetype i = pos + 1; i < end; ++i) {
        char c = p[i];
        if (c == '\\' && i + 1 < end) {
            c = p[++i];
        } else if (c == '"') {
            if (same)
                *same = name && equal && k == name->size();
            return i + 1;
        }
        if (out)
            out->append(c);
        if (name && equal) {
            if (k < name->size() && lowerAscii(c) == lowerAscii(name->at(k)))
                ++k;
            else
                equal = false;
        }
    }
    return -1;
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

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool parseDword(const char* p, qsizetype n, quint32& value)
{
    if (n < 1 || n > 8)
        return false;
    value = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const int d = hexDigit(p[i]);
        if (d < 0)
            return false;
        value = value << 4 | quint32(d);
    }
    return true;
}

// A stored text keeps no NUL and no line break: either would break the line form.
QByteArray cleanText(const QByteArray& text)
{
    const qsizetype nul = text.indexOf('\0');
    QByteArray t = nul >= 0 ? text.left(nul) : text;
    t.replace('\r', ' ');
    t.replace('\n', ' ');
    return t;
}

QByteArray rightHandSide(const RegValue& value)
{
    switch (value.type) {
    case RegValue::Type::Sz:
        return quote(cleanText(value.text));
    case RegValue::Type::Dword:
        return "dword:" + QByteArray::number(value.dword, 16).rightJustified(8, '0');
    case RegValue::Type::Other:
        break;
    }
    return value.raw;
}

bool startsWith(const char* p, qsizetype n, const char* prefix, qsizetype len)
{
    return n >= len && std::equal(prefix, prefix + len, p);
}

// What one pass finds of a key and a value name.
struct Scan {
    qsizetype keyEnd = -1;   // end of the last line belonging to the key's last section
    bool keyEndOpen = false; // that line ends the file asking for a continuation line
    qsizetype rhsBegin = -1; // the winning value: its right-hand side starts here
    qsizetype rhsEnd = -1;   // and runs to the end of its last line
    RegValue value;
};

Scan scan(const QByteArray& text, const QByteArray& path, const QByteArray& name)
{
    Scan s;
    const char* p = text.constData();
    bool inKey = false;    // below a usable section header
    bool matching = false; // and it names our key
    Lines lines(text);
    qsizetype pos = 0;
    while (!lines.atEnd(pos)) {
        const Line l = lines.at(pos);
        pos = l.next;
        const qsizetype b = l.begin;
        const qsizetype e = l.end;
        if (b == e || p[b] == ';')
            continue;
        if (p[b] == '[') {
            // "[-path]" deletes a key when imported: nothing below it is a value.
            inKey = e - b >= 2 && p[e - 1] == ']' && p[b + 1] != '-';
            matching = inKey && sameAscii(p + b + 1, e - b - 2, path);
            if (matching) {
                s.keyEnd = l.rawEnd;
                s.keyEndOpen = false;
            }
            continue;
        }
        if (matching) {
            s.keyEnd = l.rawEnd;
            s.keyEndOpen = false;
        }
        if (!inKey || p[b] != '"')
            continue;
        // Outside our key a value line matters only when it may continue on the next lines.
        const bool backslash = p[e - 1] == '\\';
        if (!matching && !backslash)
            continue;
        bool sameName = false;
        const qsizetype eq = readQuoted(p, b, e, nullptr, matching ? &name : nullptr, &sameName);
        if (eq < 0 || eq >= e || p[eq] != '=')
            continue;
        const char* rhs = p + eq + 1;
        const qsizetype rhsLen = e - eq - 1;
        const bool wanted = matching && sameName;
        RegValue value;
        qsizetype valueEnd = l.rawEnd;
        if (startsWith(rhs, rhsLen, "hex", 3)) {
            // Binary and other types may continue over several lines ending in a backslash.
            QByteArray raw;
            if (wanted)
                raw = QByteArray(rhs, rhsLen);
            bool more = backslash;
            while (more && !lines.atEnd(pos)) {
                const Line c = lines.at(pos);
                pos = c.next;
                valueEnd = c.rawEnd;
                if (wanted) {
                    raw.chop(1);
                    raw.append(p + c.begin, c.end - c.begin);
                }
                more = c.end > c.begin && p[c.end - 1] == '\\';
            }
            // The file ending where a continuation was asked for reads as an empty one, as it
            // does once a later write has put a line after it.
            if (more && wanted)
                raw.chop(1);
            if (matching) {
                s.keyEnd = valueEnd;
                s.keyEndOpen = more;
            }
            value.type = RegValue::Type::Other;
            value.raw = raw;
        } else if (!wanted) {
            continue;
        } else if (rhs[0] == '"') {
            QByteArray t;
            if (readQuoted(rhs, 0, rhsLen, &t) != rhsLen)
                continue;
            value = RegValue::fromText(cleanText(t));
        } else if (startsWith(rhs, rhsLen, "dword:", 6)) {
            quint32 v = 0;
            if (!parseDword(rhs + 6, rhsLen - 6, v))
                continue;
            value = RegValue::fromDword(v);
        } else {
            continue;
        }
        if (wanted) {
            s.rhsBegin = eq + 1;
            s.rhsEnd = valueEnd;
            s.value = value;
        }
    }
    return s;
}

bool isBlankText(const QByteArray& text)
{
    for (char c : text)
        if (!isSpace(c) && !isLineEnd(c))
            return false;
    return true;
}

// New lines end as the file's own first line does.
QByteArray lineEndOf(const QByteArray& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            return "\n";
        if (text[i] == '\r')
            return i + 1 < text.size() && text[i + 1] == '\n' ? "\r\n" : "\r";
    }
    return "\n";
}

// Whether the text, which ends with a line end, ends with a blank line.
bool endsWithBlankLine(const QByteArray& text)
{
    qsizetype i = text.size() - 1;
    if (i > 0 && text[i] == '\n' && text[i - 1] == '\r')
        --i;
    --i;
    while (i >= 0 && isSpace(text[i]))
        --i;
    return i >= 0 && isLineEnd(text[i]);
}

// After a lone CR a LF would only complete that line end, not end another line.
void appendLineEnd(QByteArray& out, const QByteArray& eol)
{
    out.append(out.endsWith('\r') && eol.startsWith('\n') ? QByteArray("\r") : eol);
}

} // namespace

bool RegFile::understood(const QByteArray& text)
{
    if (isBlankText(text))
        return true;
    if (text.contains('\0'))
        return false;
    const qsizetype start = text.startsWith(Bom) ? Bom.size() : 0;
    const Line first = Lines(text).at(start);
    return text.mid(first.begin, first.end - first.begin) == Header;
}

std::optional<RegValue> RegFile::find(const QByteArray& text, const QString& keyPath,
                                      const QString& name)
{
    const Scan s = scan(text, keyPath.toUtf8(), name.toUtf8());
    if (s.rhsBegin < 0)
        return std::nullopt;
    return s.value;
}

QByteArray RegFile::withValue(const QByteArray& text, const QString& keyPath, const QString& name,
                              const RegValue& value)
{
    const QByteArray path = keyPath.toUtf8();
    const QByteArray line = quote(name.toUtf8()) + '=' + rightHandSide(value);
    if (isBlankText(text))
        return Header + "\n\n[" + path + "]\n" + line + '\n';

    const Scan s = scan(text, path, name.toUtf8());
    const QByteArray eol = lineEndOf(text);
    QByteArray out;
    if (s.rhsBegin >= 0) {
        out.reserve(text.size() + line.size());
        out.append(text.constData(), s.rhsBegin);
        out.append(rightHandSide(value));
        out.append(text.constData() + s.rhsEnd, text.size() - s.rhsEnd);
    } else if (s.keyEnd >= 0) {
        out.reserve(text.size() + eol.size() + line.size());
        out.append(text.constData(), s.keyEnd);
        appendLineEnd(out, eol);
        // A blank line ends a value left waiting for its continuation, which would take ours.
        if (s.keyEndOpen)
            appendLineEnd(out, eol);
        out.append(line);
        out.append(text.constData() + s.keyEnd, text.size() - s.keyEnd);
    } else {
        out = text;
        if (!isLineEnd(out.back()))
            out.append(eol);
        if (!endsWithBlankLine(out))
            appendLineEnd(out, eol);
        out.append('[' + path + ']' + eol + line + eol);
    }
    return out;
}

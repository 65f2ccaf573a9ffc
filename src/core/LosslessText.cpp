#include "core/LosslessText.h"

#include <QStringDecoder>

#include <algorithm>

namespace LosslessText {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence at `i`, or 0. Overlong forms, surrogates and code
// points past U+10FFFF are invalid, as the standard says.
int validSequence(const unsigned char* s, qsizetype i, qsizetype n, char32_t* code)
{
    const unsigned char b0 = s[i];
    int len = 0;
    char32_t c = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        *code = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, c = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, c = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > n)
        return 0;
    for (int k = 1; k < len; ++k) {
        if (!isContinuation(s[i + k]))
            return 0;
        c = (c << 6) | (s[i + k] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    *code = c;
    return len;
}

void appendUtf8(QByteArray& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

QString decode(QByteArrayView bytes)
{
    // Nearly every line is valid UTF-8: Qt's decoder is much faster and agrees on those.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString fast = utf8.decode(bytes);
    if (!utf8.hasError())
        return fast;

    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out;
    out.reserve(n);
    qsizetype i = 0;
    while (i < n) {
        // Plain ASCII runs are the common case.
        if (s[i] < 0x80) {
            out += QChar(char16_t(s[i]));
            ++i;
            continue;
        }
        char32_t code = 0;
        const int len = validSequence(s, i, n, &code);
        if (len == 0) {
            out += QChar(char16_t(EscapeBase + s[i]));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            const char32_t v = code - 0x10000;
            out += QChar(char16_t(0xD800 + (v >> 10)));
            out += QChar(char16_t(0xDC00 + (v & 0x3FF)));
        } else {
            out += QChar(char16_t(code));
        }
        i += len;
    }
    return out;
}

QByteArray encode(QStringView text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); }))
        return text.toUtf8();

    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            out += char(u);
        } else if (QChar::isHighSurrogate(u) && i + 1 < n &&
                   QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUtf8(out, QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            ++i;
        } else if (u >= EscapeBase + 0x80 && u <= EscapeBase + 0xFF) {
            out += char(u - EscapeBase);
        } else if (QChar::isSurrogate(u)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

} // namespace LosslessText

// A run item's parameter line, split into the program's arguments.
#include "FuzzCheck.h"

#include "core/LosslessText.h"
#include "core/ShellWords.h"

namespace {

// Each word in single quotes, a quote inside as '\'' : the line a user would type for it.
QString quoted(const QStringList& words)
{
    QStringList parts;
    for (QString w : words)
        parts.append(u'\'' + w.replace(u'\'', QStringLiteral("'\\''")) + u'\'');
    return parts.join(u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString line = LosslessText::decode(bytes);
    const ShellWords::Result r = ShellWords::split(line);

    if (!r.ok) {
        FUZZ_CHECK(r.words.isEmpty());
        FUZZ_CHECK(r.position >= 0 && r.position < line.size());
        const QChar at = line.at(r.position);
        if (r.problem == ShellWords::Problem::UnclosedQuote) {
            FUZZ_CHECK(at == u'\'' || at == u'"');
        } else {
            FUZZ_CHECK(r.problem == ShellWords::Problem::BackslashBeforeLetter);
            FUZZ_CHECK(at == u'\\' && r.position + 1 < line.size());
        }
        return 0;
    }
    FUZZ_CHECK(r.problem == ShellWords::Problem::None && r.position == -1);

    // The words quoted again split into the same words.
    const ShellWords::Result back = ShellWords::split(quoted(r.words));
    FUZZ_CHECK(back.ok && back.words == r.words);

    // Nothing comes from nowhere: the words hold no more than the line.
    qsizetype total = 0;
    for (const QString& w : r.words)
        total += w.size();
    FUZZ_CHECK(total <= line.size());

    // A line without quotes or backslashes is split at blanks only.
    if (!line.contains(u'\'') && !line.contains(u'"') && !line.contains(u'\\')) {
        QString spaced = line;
        for (QChar& c : spaced)
            if (c == u'\t' || c == u'\n' || c == u'\r')
                c = u' ';
        FUZZ_CHECK(r.words == spaced.split(u' ', Qt::SkipEmptyParts));
    }
    return 0;
}

#include "core/LosslessText.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Text with {XXXX} standing for the UTF-16 code unit XXXX, since C++ forbids lone surrogates in
// literals.
QString units(const char* notation)
{
    QString out;
    for (const char* p = notation; *p; ++p) {
        if (*p == '{') {
            out += QChar(char16_t(QByteArray(p + 1, 4).toUShort(nullptr, 16)));
            p += 5;
        } else {
            out += QLatin1Char(*p);
        }
    }
    return out;
}

} // namespace

class TestLosslessText : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void randomBytesComeBack();
    void textWithoutBytes_data();
    void textWithoutBytes();
};

// Each byte that is not part of valid UTF-8 stands alone as U+DC00 + byte; the rest decodes
// as UTF-8 does. Every row must also encode back to its bytes.
void TestLosslessText::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("Run:/bin/true,,,1") << "Run:/bin/true,,,1";
    QTest::newRow("valid two-byte") << QByteArray("caf\xc3\xa9") << QStringLiteral("caf\u00e9");
    QTest::newRow("valid four-byte")
        << QByteArray("\xf0\x9f\x92\x80") << QString::fromUcs4(U"\U0001F480");
    QTest::newRow("latin-1 e acute") << QByteArray("caf\xe9") << units("caf{DCE9}");
    QTest::newRow("lone continuation") << QByteArray("a\x80z") << units("a{DC80}z");
    QTest::newRow("cut three-byte") << QByteArray("\xe2\x82z") << units("{DCE2}{DC82}z");
    QTest::newRow("cut at the end") << QByteArray("x\xe2\x82") << units("x{DCE2}{DC82}");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << units("{DCC0}{DCAF}");
    QTest::newRow("overlong three-byte")
        << QByteArray("\xe0\x80\xaf") << units("{DCE0}{DC80}{DCAF}");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << units("{DCED}{DCA0}{DC80}");
    QTest::newRow("past U+10FFFF")
        << QByteArray("\xf4\x90\x80\x80") << units("{DCF4}{DC90}{DC80}{DC80}");
    QTest::newRow("bytes never in UTF-8")
        << QByteArray("\xf5\xfe\xff") << units("{DCF5}{DCFE}{DCFF}");
    // A supplementary character whose low half looks like an escape must stay one character.
    QTest::newRow("escape after emoji")
        << QByteArray("\xf0\x9f\x92\x80\x80") << QString::fromUcs4(U"\U0001F480") + units("{DC80}");
    QTest::newRow("NUL kept") << QByteArray("a\0b", 3) << QStringView(u"a\0b", 3).toString();
    QTest::newRow("byte order mark kept")
        << QByteArray("\xef\xbb\xbfx") << QStringLiteral("\ufeffx");
}

void TestLosslessText::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(LosslessText::decode(bytes), text);
    QCOMPARE(LosslessText::encode(text), bytes);
}

void TestLosslessText::randomBytesComeBack()
{
    QRandomGenerator rng(20240607);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes(int(rng.bounded(0, 40)), Qt::Uninitialized);
        // Mostly high bytes, so broken and valid sequences meet often.
        for (char& c : bytes)
            c = char(rng.bounded(4) == 0 ? rng.bounded(0x80) : 0x80 + rng.bounded(0x80));
        QCOMPARE(LosslessText::encode(LosslessText::decode(bytes)), bytes);
    }
}

// Text typed by the user never holds escapes; what UTF-8 cannot carry becomes U+FFFD.
void TestLosslessText::textWithoutBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lone high surrogate") << units("a{D800}b")
                                         << QByteArray("a\xef\xbf\xbd"
                                                       "b");
    // Below U+DC80 a low surrogate stands for no byte; 0x7F would be a wrong guess.
    QTest::newRow("low surrogate below the escapes")
        << units("{DC7F}") << QByteArray("\xef\xbf\xbd");
}

void TestLosslessText::textWithoutBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(LosslessText::encode(text), bytes);
}

QTEST_GUILESS_MAIN(TestLosslessText)
#include "tst_losslesstext.moc"

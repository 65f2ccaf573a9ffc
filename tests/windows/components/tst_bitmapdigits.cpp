#include "windows/components/DigitStrip.h"
#include "windows/components/TBitmapDigits.h"

#include <QTest>

#include <limits>

namespace {

QString describe(const QList<TBitmapDigits::Glyph>& glyphs)
{
    QStringList parts;
    for (const auto& g : glyphs)
        parts << QString("%1@%2").arg(g.cell).arg(g.x);
    return parts.join(' ');
}

// The clock panel's configuration of the control.
void configureAsClock(TBitmapDigits& d)
{
    d.setBevelOuter(TBitmapDigits::bvNone);
    d.setBevelInner(TBitmapDigits::bvNone);
    d.setBorderWidth(0);
    d.setNumbers(DigitStrip::make());
    d.setNumberWidth(16);
    d.setFormatWidth(2);
    d.resize(37, 25);
}

bool sameCell(const QImage& shot, int x, int y, const QImage& strip, int cell)
{
    const QImage want =
        strip.copy(cell * 16, 0, 16, strip.height()).convertToFormat(QImage::Format_RGB32);
    return shot.copy(x, y, 16, strip.height()).convertToFormat(QImage::Format_RGB32) == want;
}

bool allBlack(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0))
                return false;
    return true;
}

} // namespace

class TestBitmapDigits : public QObject {
    Q_OBJECT
private slots:
    void displayText_data();
    void displayText();
    void layout_data();
    void layout();
    void inset_data();
    void inset();
    void numbersSetsWidthAndHeight();
    void settersRefitHeightAndText();
    void emptyStripPaintsNothing();
    void pixelsOfClockConfiguration();
    void minusSign();
    void stripShape();
    void stripSegments_data();
    void stripSegments();
};

void TestBitmapDigits::displayText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::newRow("7 w2") << 7 << 2 << "07";
    QTest::newRow("123 w2") << 123 << 2 << "123";
    QTest::newRow("-5 w2") << -5 << 2 << "-05";
    QTest::newRow("9 w0") << 9 << 0 << "9";
    QTest::newRow("0 w0") << 0 << 0 << "0";
    QTest::newRow("0 w3") << 0 << 3 << "000";
    QTest::newRow("5 w15") << 5 << 15 << "000000000000005";
    QTest::newRow("5 w16 pads nothing") << 5 << 16 << "5";
    QTest::newRow("5 w65535") << 5 << 65535 << "5";
    QTest::newRow("min int") << std::numeric_limits<qint32>::min() << 1 << "-2147483648";
    QTest::newRow("max int w12") << std::numeric_limits<qint32>::max() << 12 << "002147483647";
}

void TestBitmapDigits::displayText()
{
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QString, text);
    QCOMPARE(TBitmapDigits::displayText(value, static_cast<quint16>(width)), text);
}

void TestBitmapDigits::layout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("inset");
    QTest::addColumn<int>("numberWidth");
    QTest::addColumn<int>("gap");
    QTest::addColumn<QString>("glyphs"); // cell@x, rightmost first
    QTest::newRow("clock 07") << "07" << 37 << 2 << 16 << 0 << "7@19 0@3";
    QTest::newRow("clock 9") << "9" << 37 << 2 << 16 << 0 << "9@19";
    QTest::newRow("leading digit lost") << "123" << 37 << 2 << 16 << 0 << "3@19 2@3";
    QTest::newRow("left edge on inset") << "05" << 36 << 2 << 16 << 0 << "5@18";
    QTest::newRow("margin 5") << "05" << 37 << 5 << 16 << 0 << "5@16";
    QTest::newRow("gap") << "12" << 60 << 2 << 16 << 3 << "2@42 1@23";
    // The gap is taken also after a glyph that was not drawn.
    QTest::newRow("gap after lost glyph") << "12" << 20 << 2 << 16 << -20 << "1@6";
    QTest::newRow("minus") << "-5" << 60 << 2 << 16 << 0 << "5@42 10@26";
    QTest::newRow("other character") << "a" << 37 << 2 << 16 << 0 << "0@19";
    QTest::newRow("empty") << "" << 37 << 2 << 16 << 0 << "";
}

void TestBitmapDigits::layout()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, inset);
    QFETCH(int, numberWidth);
    QFETCH(int, gap);
    QFETCH(QString, glyphs);
    QCOMPARE(describe(TBitmapDigits::layoutGlyphs(text, width, inset, numberWidth, gap)), glyphs);
}

void TestBitmapDigits::inset_data()
{
    QTest::addColumn<int>("inner");
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("bevelWidth");
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("inset");
    using B = TBitmapDigits;
    QTest::newRow("none") << int(B::bvNone) << int(B::bvNone) << 1 << 0 << 2 << 2;
    QTest::newRow("both") << int(B::bvLowered) << int(B::bvRaised) << 2 << 0 << 2 << 6;
    QTest::newRow("all") << int(B::bvRaised) << int(B::bvLowered) << 2 << 3 << 1 << 8;
}

void TestBitmapDigits::inset()
{
    QFETCH(int, inner);
    QFETCH(int, outer);
    QFETCH(int, bevelWidth);
    QFETCH(int, border);
    QFETCH(int, margin);
    QFETCH(int, inset);
    TBitmapDigits d;
    d.setBevelInner(static_cast<TBitmapDigits::BevelCut>(inner));
    d.setBevelOuter(static_cast<TBitmapDigits::BevelCut>(outer));
    d.setBevelWidth(bevelWidth);
    d.setBorderWidth(border);
    d.setMargin(static_cast<quint16>(margin));
    d.setNumbers(QImage(160, 21, QImage::Format_RGB32));
    QCOMPARE(d.inset(), inset);
    QCOMPARE(d.height(), 21 + 2 * inset);
}

void TestBitmapDigits::numbersSetsWidthAndHeight()
{
    TBitmapDigits d;
    d.setBevelOuter(TBitmapDigits::bvNone);
    d.resize(37, 40);
    d.setNumberWidth(3);
    d.setNumbers(QImage(160, 21, QImage::Format_RGB32));
    QCOMPARE(d.NumberWidth(), quint16(16));
    QCOMPARE(d.height(), 25);
    QCOMPARE(d.width(), 37);
    QImage strip(160, 21, QImage::Format_RGB32);
    strip.fill(Qt::red);
    d.setNumbers(strip);
    strip.fill(Qt::green); // the control keeps its own copy
    QCOMPARE(d.Numbers().pixel(0, 0), qRgb(255, 0, 0));
    // An eleven-cell strip still divides by ten; the width must be given afterwards.
    d.setNumbers(QImage(176, 21, QImage::Format_RGB32));
    QCOMPARE(d.NumberWidth(), quint16(17));
}

void TestBitmapDigits::settersRefitHeightAndText()
{
    TBitmapDigits d;
    configureAsClock(d);
    d.setValue(5);
    QCOMPARE(d.text(), "05");
    d.setFormatWidth(0);
    QCOMPARE(d.text(), "5");

    d.setMargin(5);
    QCOMPARE(d.height(), 31);
    QCOMPARE(describe(d.glyphs()), "5@16");

    d.setAutoSize(false);
    d.setMargin(2);
    QCOMPARE(d.height(), 31);
    d.setAutoSize(true);
    QCOMPARE(d.height(), 25);

    d.show(); // a hidden widget gets its resize event only when shown
    d.resize(50, 60);
    QCOMPARE(d.size(), QSize(50, 25));
}

void TestBitmapDigits::emptyStripPaintsNothing()
{
    TBitmapDigits d;
    d.setBevelOuter(TBitmapDigits::bvNone);
    d.resize(37, 25);
    d.setNumbers(QImage());
    QCOMPARE(d.NumberWidth(), quint16(0));
    QCOMPARE(d.height(), 4);
    d.setValue(88);
    const QImage shot = d.grab().toImage();
    QVERIFY(allBlack(shot, shot.rect()));
}

void TestBitmapDigits::pixelsOfClockConfiguration()
{
    const QImage strip = DigitStrip::make();
    TBitmapDigits d;
    configureAsClock(d);
    d.setValue(7);
    QImage shot = d.grab().toImage();
    QCOMPARE(shot.size(), QSize(37, 25));
    QVERIFY(sameCell(shot, 3, 2, strip, 0));
    QVERIFY(sameCell(shot, 19, 2, strip, 7));
    QVERIFY(allBlack(shot, QRect(0, 0, 3, 25)));
    QVERIFY(allBlack(shot, QRect(35, 0, 2, 25)));

    // No leading zero: the tens position keeps the background.
    d.setFormatWidth(0);
    d.setValue(9);
    shot = d.grab().toImage();
    QVERIFY(sameCell(shot, 19, 2, strip, 9));
    QVERIFY(allBlack(shot, QRect(0, 0, 19, 25)));

    // 123 shows 23 only.
    d.setValue(123);
    shot = d.grab().toImage();
    QVERIFY(sameCell(shot, 3, 2, strip, 2));
    QVERIFY(sameCell(shot, 19, 2, strip, 3));
}

void TestBitmapDigits::minusSign()
{
    // Ten cells: the sign has no glyph and must not show whatever lies past the strip.
    TBitmapDigits d;
    configureAsClock(d);
    d.resize(60, 25);
    d.setFormatWidth(1);
    d.setValue(-5);
    QCOMPARE(describe(d.glyphs()), "5@42 10@26");
    QImage shot = d.grab().toImage();
    QVERIFY(allBlack(shot, QRect(0, 0, 42, 25)));

    // Eleven cells: the sign is drawn from cell 10.
    QImage strip(176, 21, QImage::Format_RGB32);
    strip.fill(Qt::black);
    strip.setPixel(160 + 8, 10, qRgb(0, 255, 255));
    d.setNumbers(strip);
    d.setNumberWidth(16);
    shot = d.grab().toImage();
    QCOMPARE(shot.pixel(26 + 8, 2 + 10), qRgb(0, 255, 255));
}

void TestBitmapDigits::stripShape()
{
    const QImage strip = DigitStrip::make();
    QCOMPARE(strip.size(), QSize(160, 21));
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            const QRgb p = strip.pixel(x, y);
            QVERIFY2(p == qRgb(0, 0, 0) || p == qRgb(0, 255, 255), "only cyan on black");
            const int cx = x % 16;
            if (p != qRgb(0, 0, 0))
                QVERIFY2(cx >= 2 && cx <= 13 && y >= 2 && y <= 18, "glyph outside its box");
        }
    }
}

void TestBitmapDigits::stripSegments_data()
{
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("lit"); // segments a..g
    const char* sets[] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                          "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
    for (int i = 0; i < 10; ++i)
        QTest::newRow(qPrintable(QString::number(i))) << i << QString::fromLatin1(sets[i]);
}

void TestBitmapDigits::stripSegments()
{
    QFETCH(int, digit);
    QFETCH(QString, lit);
    const QImage strip = DigitStrip::make();
    // One point in the middle of each segment, within a cell.
    const QPoint probe[7] = {{7, 3}, {12, 6}, {12, 14}, {7, 17}, {3, 14}, {3, 6}, {7, 10}};
    for (int s = 0; s < 7; ++s) {
        const bool on = strip.pixel(digit * 16 + probe[s].x(), probe[s].y()) != qRgb(0, 0, 0);
        QVERIFY2(on == lit.contains(QChar('a' + s)),
                 qPrintable(QString("segment %1").arg(QChar('a' + s))));
    }
}

QTEST_MAIN(TestBitmapDigits)
#include "tst_bitmapdigits.moc"

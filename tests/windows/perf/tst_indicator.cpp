#include "windows/perf/IndicatorBar.h"
#include "windows/perf/IndicatorPicture.h"

#include <QTest>

namespace {

const QRgb black = qRgb(0, 0, 0);
const QRgb cyan = qRgb(0, 255, 255);
const QRgb green = qRgb(0, 255, 0);
const QRgb yellow = qRgb(255, 255, 0);
const QRgb red = qRgb(255, 0, 0);

// The expected picture, written out independently: '.' black, 'c' label, 'g'/'y'/'r' segments.
// Rows 1..5 only; rows 0, 6 and 7 are black.
QStringList expectedRows(const QStringList& label)
{
    const QString segments = "..gg.gg.gg.gg.gg.yy.yy.yy.rr.rr.";
    QStringList rows;
    for (const QString& l : label)
        rows << "." + l + segments;
    return rows;
}

} // namespace

class TestIndicator : public QObject {
    Q_OBJECT
private slots:
    void picture_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("rows");
        // Columns 1..11 of rows 1..5.
        QTest::newRow("DSK") << "DSK"
                             << expectedRows({"cc...cc.c.c", "c.c.c...c.c", "c.c..c..cc.",
                                              "c.c...c.c.c", "cc..cc..c.c"});
        QTest::newRow("CPU") << "CPU"
                             << expectedRows({".cc.cc..c.c", "c...c.c.c.c", "c...cc..c.c",
                                              "c...c...c.c", ".cc.c...ccc"});
        QTest::newRow("MEM") << "MEM"
                             << expectedRows({"c.c.ccc.c.c", "ccc.c...ccc", "ccc.cc..ccc",
                                              "c.c.c...c.c", "c.c.ccc.c.c"});
        // Two letters are set right, in columns 5..11.
        QTest::newRow("PF") << "PF"
                            << expectedRows({"....cc..ccc", "....c.c.c..", "....cc..cc.",
                                             "....c...c..", "....c...c.."});
    }
    void picture()
    {
        QFETCH(QString, label);
        QFETCH(QStringList, rows);
        const QImage image = IndicatorPicture::make(label);
        QCOMPARE(image.size(), QSize(44, 8));
        for (int y = 0; y < 8; ++y) {
            const QString row = (y >= 1 && y <= 5) ? rows[y - 1] : QString(44, u'.');
            QCOMPARE(row.size(), 44);
            for (int x = 0; x < 44; ++x) {
                QRgb want = black;
                switch (row[x].unicode()) {
                case 'c':
                    want = cyan;
                    break;
                case 'g':
                    want = green;
                    break;
                case 'y':
                    want = yellow;
                    break;
                case 'r':
                    want = red;
                    break;
                }
                if (image.pixel(x, y) != want)
                    QFAIL(qPrintable(QString("pixel %1,%2 is %3, want %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(image.pixel(x, y) & 0xffffff, 6, 16, QChar('0'))
                                         .arg(want & 0xffffff, 6, 16, QChar('0'))));
            }
        }
    }

    void width_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("width");
        QTest::newRow("0") << 0 << 12;
        QTest::newRow("-1") << -1 << 12;
        QTest::newRow("most negative") << std::numeric_limits<int>::min() << 12;
        QTest::newRow("9") << 9 << 14;
        QTest::newRow("10: left half of segment 1") << 10 << 15;
        QTest::newRow("13: segment 1 whole") << 13 << 16;
        QTest::newRow("50") << 50 << 28;
        QTest::newRow("96") << 96 << 42;
        QTest::newRow("97") << 97 << 43;
        QTest::newRow("100") << 100 << 44;
        QTest::newRow("116") << 116 << 44;
        QTest::newRow("largest") << std::numeric_limits<int>::max() << 44;
    }
    void width()
    {
        QFETCH(int, level);
        QFETCH(int, width);
        QCOMPARE(IndicatorPicture::widthForLevel(level), width);
    }

    void bar()
    {
        QWidget panel;
        IndicatorBar bar("CPU", &panel);
        bar.move(132, 12);
        QCOMPARE(bar.size(), QSize(44, 8));
        bar.showLevel(50);
        QCOMPARE(bar.geometry(), QRect(132, 12, 28, 8));
        bar.showLevel(-1);
        QCOMPARE(bar.width(), 12);
        bar.showLevel(116);
        QCOMPARE(bar.width(), 44);

        // Drawn at natural size from the left edge: the visible part is the picture's left part.
        bar.showLevel(50);
        const QImage shown = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(28, 8));
        QCOMPARE(shown, bar.picture().copy(0, 0, 28, 8));
    }
};

QTEST_MAIN(TestIndicator)
#include "tst_indicator.moc"

#include "windows/ui/AboutPicture.h"
#include "windows/ui/TAbtFrm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTest>

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void pictureIsDrawn();
    void boxGeometry();
    void okCloses();
    void grab();
};

void TestAbout::pictureIsDrawn()
{
    const QImage image = AboutPicture::make();
    QCOMPARE(image.size(), QSize(216, 64));
    QSet<QRgb> colours;
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) & 0xffffff;
            colours.insert(c);
            lit += c != 0;
        }
    }
    // Drawn, not a blank or a flood fill.
    QVERIFY(colours.size() > 8);
    QVERIFY(lit > 500);
    QVERIFY(lit < image.width() * image.height() / 2);
    QCOMPARE(AboutPicture::make(), image); // the same every time
}

void TestAbout::boxGeometry()
{
    TAbtFrm box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.windowTitle(), QStringLiteral("About Horolux"));
    QCOMPARE(box.width(), 232);
    QCOMPARE(box.minimumSize(), box.maximumSize()); // fixed
    QCOMPARE(box.picture()->geometry(), QRect(8, 8, 216, 64));
    QCOMPARE(box.picture()->pixmap().size(), QSize(216, 64));
    QCOMPARE(box.okButton()->text(), QStringLiteral("OK"));
    for (QWidget* child : box.findChildren<QWidget*>())
        QVERIFY2(box.rect().contains(child->geometry()), qPrintable(child->objectName()));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Centred, give or take the window frame, which the desktop adds.
    QVERIFY2((box.frameGeometry().center() - screen.center()).manhattanLength() <= 40,
             qPrintable(QStringLiteral("box %1,%2 %3x%4 on a screen of %5x%6")
                            .arg(box.x())
                            .arg(box.y())
                            .arg(box.width())
                            .arg(box.height())
                            .arg(screen.width())
                            .arg(screen.height())));
}

void TestAbout::okCloses()
{
    TAbtFrm box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.okButton(), Qt::LeftButton);
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QVERIFY(!box.isVisible());
}

// With HOROLUX_GRAB_DIR set, leaves a picture of the box there for a look by eye.
void TestAbout::grab()
{
    const QByteArray dir = qgetenv("HOROLUX_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("HOROLUX_GRAB_DIR not set");
    TAbtFrm box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/about.png")));
    QVERIFY(AboutPicture::make().scaled(648, 192).save(QString::fromLocal8Bit(dir) +
                                                       QStringLiteral("/about-picture-x3.png")));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"

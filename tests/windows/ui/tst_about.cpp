#include "windows/ui/AboutPicture.h"
#include "windows/ui/TAbtFrm.h"

#include "DialogLayout.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTest>

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void pictureIsDrawn();
    void fixedBox();
    void pictureShows();
    void okCloses_data();
    void okCloses();
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

void TestAbout::fixedBox()
{
    TAbtFrm box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.windowTitle(), "About Horolux");
    QCOMPARE(box.width(), 232);
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QCOMPARE(box.okButton()->text(), "OK");
    // The whole version, as --version gives it, not a shortened one.
    const auto* version = box.findChild<QLabel*>("lbVersion");
    QVERIFY(QRegularExpression("^Horolux version \\d+\\.\\d+\\.\\d+$")
                .match(version->text())
                .hasMatch());
    const QStringList faults = DialogLayout::faults(&box);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    // The picture at the top, whole.
    const QLabel* picture = box.picture();
    QVERIFY(picture->width() >= 216 && picture->height() >= 64);
    for (const QWidget* child : box.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != picture)
            QVERIFY2(child->y() >= picture->geometry().bottom(), qPrintable(child->objectName()));
    }
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Centred, give or take the window frame, which the desktop adds.
    QVERIFY2((box.frameGeometry().center() - screen.center()).manhattanLength() <= 40,
             qPrintable(QString("box %1,%2 %3x%4 on a screen of %5x%6")
                            .arg(box.x())
                            .arg(box.y())
                            .arg(box.width())
                            .arg(box.height())
                            .arg(screen.width())
                            .arg(screen.height())));
}

// What shows in the box where the picture sits is the product picture, pixel for pixel.
void TestAbout::pictureShows()
{
    TAbtFrm box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QImage shot =
        box.grab(box.picture()->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot, AboutPicture::make().convertToFormat(QImage::Format_RGB32));
}

void TestAbout::okCloses_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("click") << false;
    QTest::newRow("Enter") << true;
}

void TestAbout::okCloses()
{
    QFETCH(bool, byKey);
    TAbtFrm box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    if (byKey)
        QTest::keyClick(&box, Qt::Key_Return);
    else
        QTest::mouseClick(box.okButton(), Qt::LeftButton);
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QVERIFY(!box.isVisible());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"

// The floor the idle clock is measured against: a bare Qt window of the panel's size whose
// one-second timer shows the time, and nothing else.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel face;
    face.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    face.setFixedSize(187, 53);
    const auto show = [&face] { face.setText(QTime::currentTime().toString(u"HH:mm:ss")); };
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &face, show);
    show();
    timer.start(1000);
    face.show();
    return app.exec();
}

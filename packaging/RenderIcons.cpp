// Writes the application icon, drawn by the program's own code, as the PNG files of a
// hicolor icon theme: OUTDIR/<size>x<size>/apps/<NAME>.png for every size given.
#include "windows/components/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: horolux-render-icons OUTDIR NAME SIZE...\n");
        return 2;
    }
    // Drawing needs a GUI application, never a display: the build may run without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        if (size <= 0 || !QDir().mkpath(dir) ||
            !AppIcon::pixmap(size).save(dir + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "horolux-render-icons: cannot write size %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}

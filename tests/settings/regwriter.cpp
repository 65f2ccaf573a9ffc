// Writes the value NAME = 0..COUNT-1 into the settings file at PATH, one write per value.
#include "platform/RegFileRegistry.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: regwriter PATH NAME COUNT\n");
        return 2;
    }
    RegFileRegistry reg(QString::fromLocal8Bit(argv[1]));
    SettingsStore store(reg);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    for (int i = 0; i < count; ++i)
        store.WriteRegInt(QStringLiteral("Settings"), name, i);
    return 0;
}

// Writes the value NAME = 0..COUNT-1 into the settings file at PATH, one write per value; a
// write that finds the other copy holding the file is tried again.
#include "doubles/DiskFiles.h"
#include "rules/settings/RegFileRegistry.h"
#include "rules/settings/SettingsStore.h"

#include <QThread>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: regwriter PATH NAME COUNT\n");
        return 2;
    }
    RegFileRegistry reg(diskFiles(), QString::fromLocal8Bit(argv[1]));
    const QString key = SettingsStore::SettingsKeyRoot + "Settings";
    const QString name = QString::fromLocal8Bit(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    for (int i = 0; i < count; ++i)
        while (reg.setValue(key, name, RegValue::fromDword(quint32(i))) == RegWrite::Busy)
            QThread::usleep(100);
    return 0;
}

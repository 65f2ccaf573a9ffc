// Replaces the file PATH with TEXT through the program's atomic save; exit 0 when it reported
// success, 3 when it reported failure.
#include "platform/linux/AtomicFile.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    QString error;
    return AtomicFile::write(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]), &error) ? 0 : 3;
}

#pragma once

#include "platform/linux/LinuxFileStore.h"

// The real file system, for tests of the file formats' rules on real files.
inline LinuxFileStore& diskFiles()
{
    static LinuxFileStore files;
    return files;
}

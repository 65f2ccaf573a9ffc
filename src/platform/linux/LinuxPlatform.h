#pragma once

#include "ports/Platform.h"

#include <memory>

// The Linux implementation of every service, owned in one place. The settings store is the
// program's own file over `files`; the program puts it in `registry`.
class LinuxPlatform {
public:
    LinuxPlatform();
    ~LinuxPlatform();
    Platform& services() { return m_services; }

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    Platform m_services;
};

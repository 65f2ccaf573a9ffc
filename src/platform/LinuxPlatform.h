#pragma once

#include "platform/Platform.h"

#include <memory>

// The Linux implementation of every service, owned in one place.
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

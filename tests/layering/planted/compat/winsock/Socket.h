#pragma once

#include "ports/ISocketApi.h"
#include "platform/linux/LinuxSockets.h"

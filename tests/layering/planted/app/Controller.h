#pragma once

#include "platform/linux/LinuxPlatform.h"
#include "windows/panel/Panel.h"

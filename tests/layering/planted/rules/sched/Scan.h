#pragma once

#include <QString>
#include "core/Day.h"
#include "compat/winsock/Socket.h"
#include "rules/app/MainState.h"

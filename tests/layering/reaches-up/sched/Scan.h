#pragma once

#include <QString>
#include "app/MainState.h"

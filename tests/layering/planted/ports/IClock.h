#pragma once

#include "core/Day.h"

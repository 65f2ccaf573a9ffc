#pragma once

#include "sched/Scan.h"

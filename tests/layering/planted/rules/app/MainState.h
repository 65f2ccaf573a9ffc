#pragma once

#include "rules/sched/Scan.h"

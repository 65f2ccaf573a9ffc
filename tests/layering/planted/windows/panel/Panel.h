#pragma once

#include "rules/app/MainState.h"
#include "windows/sched/List.h"
#include "app/Controller.h"

#include "sched/ScheduleList.h"

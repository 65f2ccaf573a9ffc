#include "platform/linux/Clock.h"
#include "ports/IClock.h"

  #  include <rules/sched/Scan.h>

#include "platform/Clock.h"

  #  include <app/TickState.h>

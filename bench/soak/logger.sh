#!/bin/sh
# Started by the clock for each program item: notes the item and the time it ran by the
# clock it was started under (the simulated one), one line each, appended in one write.
printf '%s %s\n' "$1" "$(date +%s)" >>"$(dirname "$0")/fired.log"

#pragma once

#include <QDate>
#include "ports/IClock.h"

#pragma once
#include "engine/system/Timers.h"

#pragma once
#include "engine/system/AppTime.h"

#pragma once
#include "engine/system/Display.h"

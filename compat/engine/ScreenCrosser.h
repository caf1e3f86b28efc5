#pragma once
#include "engine/screen/ScreenCrosser.h"

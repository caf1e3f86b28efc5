#pragma once
#include "engine/particles/Colorizer.h"

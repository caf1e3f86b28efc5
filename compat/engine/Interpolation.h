#pragma once
#include "engine/data/Interpolation.h"

#pragma once
#include "engine/particles/Particles.h"

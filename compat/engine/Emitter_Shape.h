#pragma once
#include "engine/particles/Emitter_Shape.h"

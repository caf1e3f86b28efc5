#pragma once
#include "engine/particles/Emitter.h"

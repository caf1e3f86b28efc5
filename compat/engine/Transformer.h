#pragma once
#include "engine/particles/Transformer.h"

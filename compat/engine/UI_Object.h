#pragma once
#include "engine/ui/UI_Object.h"

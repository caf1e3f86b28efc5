#pragma once
#include "engine/system/Paths.h"

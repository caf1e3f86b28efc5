#pragma once
#include "engine/system/Letterbox.h"

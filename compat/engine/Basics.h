#pragma once
#include "engine/system/Basics.h"

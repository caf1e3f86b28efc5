#pragma once
#include "engine/system/Settings.h"

#pragma once
#include "engine/system/Error.h"

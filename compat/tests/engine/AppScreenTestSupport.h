#pragma once
#include "engine/screen/AppScreenTestSupport.h"

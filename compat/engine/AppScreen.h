#pragma once
#include "engine/screen/AppScreen.h"

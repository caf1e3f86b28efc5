#pragma once
#include "engine/screen/DrawObject.h"

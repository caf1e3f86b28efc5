#pragma once
#include "engine/screen/Control.h"

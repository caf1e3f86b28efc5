#pragma once
#include "engine/object/Shape.h"

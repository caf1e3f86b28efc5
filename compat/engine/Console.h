#pragma once
#include "engine/screen/Console.h"

#pragma once
#include "engine/ui/Mouse.h"

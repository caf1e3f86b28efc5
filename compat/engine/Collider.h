#pragma once
#include "engine/object/Collider.h"

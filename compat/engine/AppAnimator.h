#pragma once
#include "engine/object/AppAnimator.h"

#pragma once
#include "engine/ui/SoundObject.h"

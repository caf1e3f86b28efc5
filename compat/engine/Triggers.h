#pragma once
#include "engine/object/Triggers.h"

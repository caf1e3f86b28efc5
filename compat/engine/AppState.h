#pragma once
#include "engine/object/AppState.h"

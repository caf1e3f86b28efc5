#pragma once
#include "engine/object/DataComponent.h"

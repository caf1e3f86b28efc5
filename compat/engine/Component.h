#pragma once
#include "engine/object/Component.h"

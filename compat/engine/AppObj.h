#pragma once
#include "engine/object/AppObj.h"

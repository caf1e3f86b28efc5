#pragma once
#include "engine/object/AppVar.h"

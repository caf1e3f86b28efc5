#pragma once
#include "engine/object/GameObject.h"

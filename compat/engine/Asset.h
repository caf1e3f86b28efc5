#pragma once
#include "engine/screen/Asset.h"

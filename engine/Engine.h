// The engine: data formats, object model, screens, media and widgets.
#pragma once
#include "platform/Platform.h"
#include "engine/System/Error.h"

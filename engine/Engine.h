// The engine: data formats, object model, screens, media and widgets.
#pragma once
#include "platform/Platform.h"
#include "engine/Basics.h"
#include "engine/Mouse.h"
#include "engine/System/AppTime.h"
#include "engine/System/Aspect.h"
#include "engine/System/Display.h"
#include "engine/System/Error.h"
#include "engine/System/Paths.h"
#include "engine/System/Settings.h"
#include "engine/data/ValuePersistence.h"
#include "engine/media/TxtFile.h"

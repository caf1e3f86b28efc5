// The platform layer: window, drawing, images, fonts, audio, input, files, clock and random.
#pragma once
#include "platform/Files.h"
#include "platform/Strings.h"

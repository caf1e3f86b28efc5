// The platform layer: window, drawing, images, fonts, audio, input, files, clock, random, sockets,
// HTTP requests, unzipping, web pages and system services.
#pragma once
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Font.h"
#include "platform/Graphics.h"
#include "platform/HttpRequest.h"
#include "platform/Image.h"
#include "platform/Input.h"
#include "platform/Maths.h"
#include "platform/OpenURL.h"
#include "platform/Random.h"
#include "platform/Socket.h"
#include "platform/Strings.h"
#include "platform/System.h"
#include "platform/Unzip.h"

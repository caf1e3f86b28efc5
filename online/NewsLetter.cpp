#include "online/NewsLetter.h"

TNewsLetterPtr NewsLetter;

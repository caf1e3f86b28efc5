#include "online/NewsLetter.h"

TNewsLetterPtr NewsLetter;
int NewsLetterOn = 0;

int LoadNewsLetter() {
    if (NewsLetterOn == 0) return 0;
    // The saved state is read here once the newsletter itself exists.
    return 0;
}

#include "online/NewsLetterTrigger.h"

#include "engine/screen/Console.h"
#include "engine/basics/AppTime.h"
#include "online/NewsLetter.h"
#include "platform/Input.h"

int UPDATE_NEWSLETTER() {
    if (CheatsOn && KeyHit(KEY_TAB)) return 1;
    if (AppMilliSecs() > Newsletter_NextSecond) {
        Newsletter_NextSecond = AppMilliSecs() + 1000;
        return CountNewsLetterSecond();
    }
    return 0;
}

int CountNewsLetterSecond() {
    if (++Newsletter_Seconds >= 60) {
        Newsletter_Seconds = 0;
        ++Newsletter_Minutes;
    }
    return Newsletter_Minutes == 30 ? 1 : 0;
}

int UpdateNewsLetter() {
    if (NewsLetterOn == 0 || Newsletter_Zapisany != 0 || Newsletter_NiePokazujWiecej != 0) return 0;
    if (UPDATE_NEWSLETTER() != 0 && NewsLetter) return NewsLetter->mainloop();
    return 0;
}

// The newsletter's play-time trigger: the game screen calls UpdateNewsLetter once a frame; it
// counts play seconds (at most one a frame, a little over a second apart by the application
// clock) and shows the newsletter window on the counted second that makes the minutes 30.
// Nothing is counted while the newsletter is off, or once the player signed up or asked not to
// see it again. The counters are saved only by the window's buttons.
#pragma once

// Counts play time; true when the window is due (exactly 30 minutes counted). With the
// developer switch on, Tab makes it due at once and leaves the counters alone.
int UPDATE_NEWSLETTER();
// One counted play second (a minute at every 60th); true when the minutes are then 30.
int CountNewsLetterSecond();
// The trigger: the window's result (1 after a sign-up) when it was shown, else 0.
int UpdateNewsLetter();

// The rules for players' names, shared by the name-entry pop-up (what may be typed, when OK is
// refused) and the players pop-up (what it accepts as a new or changed name).
#pragma once
#include <string>
#include <vector>

// A name as it is compared and saved: every character that draws nothing taken out (control
// characters; Unicode's default-ignorable characters: zero-width spaces and joiners, marks of
// writing direction, variation selectors, the Hangul fillers, tag characters and their kin;
// and the blank-drawing braille pattern and line and paragraph separators), then trimmed of
// spaces of any script at both ends. (A name that begins with a zero-width space is the same
// name as without it.)
std::string PlayerName(const std::string& text);

// The form in which names are compared, so that names that draw alike are one: PlayerName, in
// capitals of any script, every space as a plain space, a letter with an accent as the letter
// followed by its accent (whichever way it was written), and the Greek and Cyrillic capitals
// drawn exactly as Latin ones ("А" of Cyrillic, "Α" of Greek) as those.
std::string PlayerNameKey(const std::string& name);

// A character that may be typed into a name: not a character that draws nothing (PlayerName),
// not a space, not a lone surrogate or beyond the code space.
bool isPlayerNameCharacter(int code);

// Whether name (compared by PlayerNameKey) is another player's: one of names other than own, the
// name of the player being renamed ("" for a new player), so that a player may keep the own name.
// An empty name is never taken.
bool isPlayerNameTaken(const std::string& name, const std::vector<std::string>& names,
                       const std::string& own = std::string());

// What the player's files tell the player: a file that was damaged and salvaged or restored, a
// level in progress that could not be resumed, a save that failed. Each message is printed on
// the console and shown once in the game's message pop-up (through the engine's ShowAppMessage,
// with an OK button), one after another. The players are read during the loading screen, where
// no pop-up can show: messages given then wait until a screen is up (the main menu shows them
// when it comes). A message given while the program ends (the saves at exit), when no pop-up
// can show any more, goes to a plain dialog of the system instead; a headless run has none, and
// the console line is what remains.
#pragma once
#include <string>
#include <vector>

// Prints the text, then shows it at once when a screen other than the loading screen is up and
// no earlier message is still open; else it waits.
void TellPlayer(const std::string& text);
// Shows the next waiting message, when a screen is up and none is open.
void ShowPlayerNotices();
// The messages still waiting to be shown, in order.
const std::vector<std::string>& PendingPlayerNotices();
// Tests: nothing waiting, nothing open.
void ResetPlayerNotices();

// The newsletter's state across runs: the play time counted toward the next showing, the number
// of showings, and whether the player signed up or asked not to be asked again.
//
// The counters live in the key file "Newsletter.dat" in the maker's per-user folder, which the
// maker's games share: "NewsLetter::Subscribed" for all of them, and
// "NewsLetter::<game>::Seconds", "::Minutes" and "::HowManyTimes" for this game (<game> being
// the game's folder name with "-" and blanks made "_"). The file is written back from the tree
// that was read, so other games' groups stay as they were. The "don't show" flag is the marker
// file "DontShowMeNewsLetter.txt" in the game's own per-user folder.
#pragma once
#include <string>

#include "online/RCMFile.h"

// Not 0 when the newsletter is on: set at start-up by NewsLetterSwitch (NewsLetter.h), which
// asks for a real server besides the data folder's entry "newsletter".
extern int NewsLetterOn;
extern int Newsletter_Seconds;           // counted play seconds toward the next minute, 0 to 59
extern int Newsletter_Minutes;           // counted play minutes toward the showing, 0 to kNewsLetterMostCounted
extern int Newsletter_NextSecond;        // application clock (ms) after which the next second counts
extern int Newsletter_IleRazy;           // showings so far, 0 to kNewsLetterMostCounted
extern int Newsletter_Zapisany;          // the player signed up
extern int Newsletter_NiePokazujWiecej;  // the player does not want the window again
extern TRCMFilePtr NewsLetterFile;       // the key file as last read, reused by every save
extern std::string MyAppName;            // this game's group in the key file
extern std::string VelkaroFolder;        // the folder of "Newsletter.dat", no trailing "/"

// The file names and the marker's text.
extern const std::string NewsLetterFileName;    // "Newsletter.dat"
extern const std::string NewsLetterMarkerName;  // "DontShowMeNewsLetter.txt"
extern const std::string NewsLetterMarkerText;  // "Dont show newsletter in this game"

// The most minutes and showings a file is read with (far more than any player reaches): the
// game only counts up from there, which then never overflows.
constexpr int kNewsLetterMostCounted = 1000000;

// Writes the four numbers into the key file and the marker when the don't-show flag is set.
// Nothing while the newsletter is off. -1 when the key file was not written (it could not be
// written, or it is a damaged file that is left untouched), else 0.
int SaveNewsLetter();
// Reads the state at start-up; nothing while the newsletter is off. A missing file is the first
// run: everything starts at 0. The seconds are read into 0 to 59, the minutes and showings into
// 0 to kNewsLetterMostCounted.
int LoadNewsLetter();
// Makes sure the maker's folder exists and sets VelkaroFolder to it.
int GetNewsLetterFolder();
// AppFolderName with "-" and then blanks made "_".
std::string NewsLetterAppName();

// Back to the start of a run: every counter and flag 0, no key file (tests).
void ResetNewsLetterState();

// The desktop's own file chooser: zenity or kdialog, whichever is on the PATH, run as a child
// process. With neither, or with no desktop to show it on (no display, or the offscreen or
// dummy video driver), nothing is asked and the answer is empty.
#pragma once
#include <string>
#include <vector>

// Asks the player for a file. `extensions` lists groups as "Name:ext1,ext2;Other:ext3" (a group
// without a name is just "ext1,ext2"); `save` asks for a file to write (the chooser confirms an
// overwrite); `initialPath` is where the chooser starts. Returns the chosen path, or "" when the
// player cancels; "" with a warning line when no chooser can be shown.
std::string RequestFile(const std::string& text, const std::string& extensions = "", bool save = false,
                        const std::string& initialPath = "");

// The argument vector RequestFile runs for a chooser program (kdialog's style when the program's
// file name is "kdialog", zenity's otherwise); each text stays one argument.
std::vector<std::string> FileChooserArgs(const std::string& program, const std::string& text,
                                         const std::string& extensions, bool save, const std::string& initialPath);

// Tests: a program to run in place of the chooser found on the PATH, also without a desktop
// ("" goes back to searching).
void SetFileChooserProgram(const std::string& path);

// The level arranger, a developer tool: it reads the hundred clue-grid levels of a work folder,
// measures each one's difficulty from its clue numbers, and writes them out again numbered 1 to
// 100 from the easiest to the hardest (levels of equal difficulty keep their order). The game
// runs it instead of starting when given --arrange-levels; the program then ends.
//
// In the work folder (the working folder unless WorkFolder says otherwise) it reads
//   "game/game/levels/Picross/Level-<n>.rql"      n = 1 .. 100, level files whatever the extension
// and writes, without the play state,
//   "_WORK  MATERIALS/_ARRANGED/level-<n>.rql"    (two blanks in the folder name)
// creating that folder when it is missing. Nothing is written unless all hundred levels read.
#pragma once
#include <memory>
#include <string>
#include <vector>

class TPACLevel;

// One level read by the arranger, with its difficulty.
class TTempLevel {
public:
    int dif = 0;
    std::shared_ptr<TPACLevel> level;

    // Writes the level without its play state as output file number n; false (after an error
    // line) when it cannot be written.
    bool Save(int n) const;
};

class LevelArranger {
public:
    static constexpr int Levels = 100;
    static std::vector<std::shared_ptr<TTempLevel>> AllLevels;
    // The folder the paths above are taken from; empty for the working folder.
    static std::string WorkFolder;

    static std::string SourcePath(int n);
    static std::string OutputFolder();
    static std::string OutputPath(int n);

    // Reads the hundred levels into a new AllLevels, each with its difficulty. False when a
    // level is missing or unreadable (each one is reported).
    static bool LoadLevels();
    // The sort's comparison: positive when o1 is easier than o2, negative when harder.
    static int SortFunc(const TTempLevel& o1, const TTempLevel& o2);
    // The whole run: the play-field tables and the clue numbers set up, the levels read, sorted
    // from the easiest and written. Returns the program's exit status: 0 when all hundred were
    // written, 1 (after error lines) otherwise.
    static int Mainloop();
};

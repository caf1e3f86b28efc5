// The key file shared by the maker's games ("Newsletter.dat"): read as the newsletter's state at
// start-up, counted on as the game does (play seconds into minutes, a showing), written back into
// the tree that was read, and the file read and written once more. What the game wrote must come
// back the same: its own file reads (names with quotes, braces or blanks at their ends included)
// and a second read and write of it changes nothing.
#include <cstdlib>

#include "FuzzSupport.h"
#include "engine/system/Paths.h"
#include "online/NewsLetterState.h"
#include "online/NewsLetterTrigger.h"
#include "online/RCMFile.h"
#include "platform/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::BeginRun();
    ResetNewsLetterState();
    NewsLetterOn = 1;
    AppFolderName = "Quiltora-2";
    AppDataRootFolder = fuzz::RunDir() + "/root";
    const std::string path = AppDataRootFolder + "/" + NewsLetterFileName;
    fuzz::WriteFile(path, fuzz::Bytes(data, size));
    LoadNewsLetter();
    // What a play session adds to the counters read: a minute and a half, and a showing.
    for (int second = 0; second < 90; ++second) CountNewsLetterSecond();
    ++Newsletter_IleRazy;
    if (SaveNewsLetter() == 0) {
        // What was written is read and written once more, and must not change. The game's own
        // file must read: one that failed its brace check would be reported and left as it is,
        // which keeps the bytes the same but loses the game's state at the next start.
        std::string written, rewritten;
        LoadBytes(path, written);
        auto again = LoadRCMFile(path);
        if (again->_unreadable) std::abort();
        again->getString("NewsLetter::" + MyAppName + "::Minutes", 0);
        again->getFloat("NewsLetter::Subscribed", 0, 0);
        again->save(path);
        LoadBytes(path, rewritten);
        const bool same = rewritten == written;
        // The debug print as well (it sets an empty first value to "0", as writing does).
        again->printAll();
        if (!same) std::abort();
    }
    ResetNewsLetterState();
    return 0;
}

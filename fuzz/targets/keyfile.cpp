// The key file shared by the maker's games ("Newsletter.dat"): read as the newsletter's state at
// start-up, counted on as the game does (play seconds into minutes, a showing), written back into
// the tree that was read, and the file read and written once more.
#include "FuzzSupport.h"
#include "engine/system/Paths.h"
#include "online/NewsLetterState.h"
#include "online/NewsLetterTrigger.h"
#include "online/RCMFile.h"

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
        // What was written is read and written once more. (A hand-damaged file can still come
        // back as a file that reads as damaged, which the game then reports and never writes
        // over; the faults this target found are checked by the key file's tests.)
        auto again = LoadRCMFile(path);
        again->getString("NewsLetter::" + MyAppName + "::Minutes", 0);
        again->getFloat("NewsLetter::Subscribed", 0, 1);
        again->save(path);
    }
    ResetNewsLetterState();
    return 0;
}

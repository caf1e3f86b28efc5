#include "online/NewsLetterState.h"

#include <algorithm>

#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Strings.h"

int NewsLetterOn = 0;
int Newsletter_Seconds = 0;
int Newsletter_Minutes = 0;
int Newsletter_NextSecond = 0;
int Newsletter_IleRazy = 0;
int Newsletter_Zapisany = 0;
int Newsletter_NiePokazujWiecej = 0;
TRCMFilePtr NewsLetterFile;
std::string MyAppName;
std::string VelkaroFolder;

const std::string NewsLetterFileName = "Newsletter.dat";
const std::string NewsLetterMarkerName = "DontShowMeNewsLetter.txt";
const std::string NewsLetterMarkerText = "Dont show newsletter in this game";

namespace {

std::string StatePath() { return VelkaroFolder + "/" + NewsLetterFileName; }
std::string MarkerPath() { return AppDataFolder + "/" + NewsLetterMarkerName; }
std::string GamePath(const std::string& entry) { return "NewsLetter::" + MyAppName + "::" + entry; }

}  // namespace

std::string NewsLetterAppName() { return Replace(Replace(AppFolderName, "-", "_"), " ", "_"); }

int GetNewsLetterFolder() {
    // The maker's folder is the per-user root (below the XDG data folder, or --user-dir).
    VelkaroFolder = AppDataRootFolder;
    if (FileType(VelkaroFolder) == 0 && !CreateDir(VelkaroFolder, true))
        Error("Cannot create the folder " + VelkaroFolder, Here());
    return 0;
}

int SaveNewsLetter() {
    if (NewsLetterOn == 0) return 0;
    VelkaroFolder = AppDataRootFolder;
    MyAppName = NewsLetterAppName();
    if (!NewsLetterFile) {
        // Never start from an empty tree over a file that is there: the other games' groups
        // would go. (A damaged file is then refused by the save below.)
        NewsLetterFile = FileType(StatePath()) != 0 ? LoadRCMFile(StatePath()) : CreateRCMFile();
    }
    NewsLetterFile->setFloat("NewsLetter::Subscribed", static_cast<float>(Newsletter_Zapisany), 0);
    NewsLetterFile->setFloat(GamePath("Seconds"), static_cast<float>(Newsletter_Seconds), 0);
    NewsLetterFile->setFloat(GamePath("Minutes"), static_cast<float>(Newsletter_Minutes), 0);
    NewsLetterFile->setFloat(GamePath("HowManyTimes"), static_cast<float>(Newsletter_IleRazy), 0);
    const int saved = NewsLetterFile->save(StatePath());
    if (Newsletter_NiePokazujWiecej != 0 && !SaveBytes(MarkerPath(), NewsLetterMarkerText))
        Error("Cannot write " + MarkerPath(), Here());
    return saved;
}

int LoadNewsLetter() {
    if (NewsLetterOn == 0) return 0;
    GetNewsLetterFolder();
    Print("Newsletter: " + StatePath());
    // No file yet is the first run, not a problem worth a line.
    TRCMFilePtr file = FileType(StatePath()) != 0 ? LoadRCMFile(StatePath()) : CreateRCMFile();
    MyAppName = NewsLetterAppName();
    // The counters are only ever counted up from here: a number the file should not hold (a
    // hand-edited or damaged file) is brought into the range the game writes, so adding to it
    // can never overflow.
    auto counter = [&file](const std::string& key, int32_t most) {
        return std::clamp(TruncToInt(file->getFloat(key, 0, 0)), 0, most);
    };
    Newsletter_Zapisany = TruncToInt(file->getFloat("NewsLetter::Subscribed", 0, 0));
    Newsletter_Seconds = counter(GamePath("Seconds"), 59);
    Newsletter_Minutes = counter(GamePath("Minutes"), kNewsLetterMostCounted);
    Newsletter_NiePokazujWiecej = FileType(MarkerPath());
    Newsletter_IleRazy = counter(GamePath("HowManyTimes"), kNewsLetterMostCounted);
    NewsLetterFile = file;
    return 0;
}

void ResetNewsLetterState() {
    NewsLetterOn = 0;
    Newsletter_Seconds = 0;
    Newsletter_Minutes = 0;
    Newsletter_NextSecond = 0;
    Newsletter_IleRazy = 0;
    Newsletter_Zapisany = 0;
    Newsletter_NiePokazujWiecej = 0;
    NewsLetterFile.reset();
    MyAppName.clear();
    VelkaroFolder.clear();
}

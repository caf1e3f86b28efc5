// The maker's folder (shared by the maker's games) and the game's own folder inside it, moved
// into a temporary home for one test: home/.Velkaro/Quiltora-2, created. Put back as they were
// when it goes.
#pragma once
#include <string>

#include "engine/system/Paths.h"
#include "platform/Files.h"

namespace testsupport {

class MakersFolderIn {
public:
    explicit MakersFolderIn(const std::string& home)
        : oldRoot(AppDataRootFolder), oldFolder(AppDataFolder), oldName(AppFolderName) {
        AppDataRootFolder = home + "/.Velkaro";
        AppFolderName = "Quiltora-2";
        AppDataFolder = AppDataRootFolder + "/" + AppFolderName;
        CreateDir(AppDataFolder);
    }
    ~MakersFolderIn() {
        AppDataRootFolder = oldRoot;
        AppDataFolder = oldFolder;
        AppFolderName = oldName;
    }
    MakersFolderIn(const MakersFolderIn&) = delete;
    MakersFolderIn& operator=(const MakersFolderIn&) = delete;

private:
    std::string oldRoot, oldFolder, oldName;
};

}  // namespace testsupport

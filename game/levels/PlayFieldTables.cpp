#include "game/levels/PlayFieldTables.h"

#include <algorithm>

#include "engine/data/ValuePersistence.h"
#include "engine/data/ValueTypes.h"
#include "engine/basics/Basics.h"
#include "engine/system/Error.h"
#include "engine/system/Paths.h"
#include "platform/Files.h"
#include "platform/Strings.h"

std::vector<float> GridSize;
std::vector<float> GridSizeHalf;
std::vector<float> GridScale;
std::vector<float> NumberScale;
std::vector<int> NumberSizesIndex;
std::vector<std::shared_ptr<TRGB>> TileRGB;
std::vector<float> TSpecialLoads::PomNumImages;
std::shared_ptr<TSpecialLoads> SpecialLoads;

template <class T>
static T TableAt(const std::vector<T>& table, int index) {
    return (index >= 0 && index < static_cast<int>(table.size())) ? table[index] : T{};
}

float GridSizeAt(int size) { return TableAt(GridSize, size); }
float GridSizeHalfAt(int size) { return TableAt(GridSizeHalf, size); }
float GridScaleAt(int size) { return TableAt(GridScale, size); }
float NumberScaleAt(int size) { return TableAt(NumberScale, size); }
int NumberSizesIndexAt(int size) { return TableAt(NumberSizesIndex, size); }
std::shared_ptr<TRGB> TileRGBOfId(int colorId) { return TableAt(TileRGB, colorId - 1); }

void ResetPlayFieldTables() {
    GridSize.clear();
    GridSizeHalf.clear();
    GridScale.clear();
    NumberScale.clear();
    NumberSizesIndex.clear();
    TileRGB.clear();
    TSpecialLoads::PomNumImages.clear();
}

std::shared_ptr<TSpecialLoads> CreateSpecialLoadsScreen() {
    auto screen = std::make_shared<TSpecialLoads>();
    screen->Init("Special Loadings", "");
    return screen;
}

int TSpecialLoads::Setup() {
    SetupLoadedData();
    SetupNumberSizes();
    SetupNumImagesSizes();
    SetupScales();
    return 0;
}

int TSpecialLoads::SetupLoadedData() {
    GridSize = LoadFloatArrayFile(bDir + "Game/PlayField/GridSizes.txt");
    TileRGB = LoadRGBArray(bDir + "Game/PlayField/RGBS.txt");
    return 0;
}

std::vector<int> CountNumberSizesIndex(int n) {
    std::vector<int> index(n > 0 ? n : 0, 0);
    const int per = n / HowManyNumberSizes;
    int k = 0, c = 0;
    for (int i = 0; i < n; ++i) {
        if (k > HowManyNumberSizes - 1) k = HowManyNumberSizes - 1;
        index[i] = k;
        ++c;
        if (c == per) {
            c = 0;
            ++k;
        }
    }
    return index;
}

int TSpecialLoads::SetupNumberSizes() {
    NumberSizesIndex = CountNumberSizesIndex(static_cast<int>(GridSize.size()));
    return 0;
}

int PngImageHeight(const std::string& path) {
    std::string bytes;
    if (!LoadBytes(path, bytes, FileKind::Level) || bytes.size() < 24) return 0;
    static const char signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    if (bytes.compare(0, 8, signature, 8) != 0 || bytes.compare(12, 4, "IHDR") != 0) return 0;
    uint32_t h = 0;
    for (int i = 20; i < 24; ++i) h = (h << 8) | static_cast<unsigned char>(bytes[i]);
    return h > 0x7fffffffu ? 0 : static_cast<int>(h);
}

int TSpecialLoads::SetupNumImagesSizes() {
    PomNumImages.clear();
    for (int k = 0; k < HowManyNumberSizes; ++k) {
        const std::string path = bDir + "Game/PlayField/Numbers/" + IntToString(k) + "-0.png";
        if (FileType(path) != 1) {
            // Said here for the scales; the picture itself is not reported again when loaded.
            if (FirstReportAbout(path))
                Error("Clue-number picture '" + path + "' is missing; clue numbers are scaled like the tiles", Here());
            break;
        }
        const int height = PngImageHeight(path);
        if (height <= 0) {
            ErrorImg(path, Here());
            break;
        }
        PomNumImages.push_back(static_cast<float>(height));
    }
    return 0;
}

int TSpecialLoads::SetupScales() {
    const size_t n = GridSize.size();
    GridScale.assign(n, 0.0f);
    GridSizeHalf.assign(n, 0.0f);
    NumberScale.assign(n, 0.0f);
    bool missingImage = false;
    for (size_t i = 0; i < n; ++i) {
        GridScale[i] = GridSize[i] / static_cast<float>(2 * TileMiddle);
        GridSizeHalf[i] = GridSize[i] * 0.5f;
        // The ratio of the two image sets' heights; without both images the numbers scale
        // like the tiles.
        const int k = NumberSizesIndexAt(static_cast<int>(i));
        float ratio = 1.0f;
        if (k < static_cast<int>(PomNumImages.size()) && PomNumImages[k] > 0.0f)
            ratio = PomNumImages[0] / PomNumImages[k];
        else missingImage = true;
        NumberScale[i] = ratio * GridScale[i];
    }
    // A missing picture was said when the sizes were read.
    if (missingImage && PomNumImages.size() >= static_cast<size_t>(HowManyNumberSizes))
        Error("Clue-number images are missing in '" + bDir +
                  "Game/PlayField/Numbers/'; clue numbers are scaled like the tiles",
              Here());
    return 0;
}

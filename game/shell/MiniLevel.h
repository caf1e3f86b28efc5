// A level's thumbnail on the stages map: a small panel at the level's point on the map showing
// whether the level is locked, open or passed, the row of stars earned and, once passed, a tiny
// picture of the level's solution, one dot of colour per cell. It glows while the mouse is over
// it, and the player's current level pulses.
//
// The pictures come from "MiniLevels.txt" in the stages screen's folder (tools/make_mini_levels.py
// writes it from the level files): records separated by the letter "n", each record the fields
// rows, columns, then rows x columns cell values row by row (0 empty, v the palette colour v),
// separated by ",". Record i (from 0) is level i + 1, whose point is the sub-object with id i + 1
// of the map's object 1001; an empty record makes no thumbnail but takes its number.
//
// Also here: the map cloud, a game object that drifts across the map (no cloud is made).
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/GameObject.h"
#include "platform/Image.h"

class TPulsar;

class TMiniLevel {
public:
    static float Size;         // distance between neighbouring cell centres, pixels
    static TImagePtr TileImg;  // a filled cell (tinted with its colour)
    static TImagePtr GridImg;  // an empty cell
    // 0 the panel of a locked level, 1 a locked current level's panel and an open level's glow,
    // 2 the panel of an open or passed level.
    static std::array<TImagePtr, 3> Panelik;
    static std::array<TImagePtr, 4> Stars;   // the star rows for 0 to 3 stars
    static std::shared_ptr<TPulsar> Pulsar;  // the current level's pulse

    TGameObjectPtr Point;
    std::vector<std::vector<int>> Tile;  // [row][column]
    float Cx = 0, Cy = 0;                // half the picture's size
    int Rows = 0, Cols = 0;
    int Id = 0;
    int isUnlocked = 0;
    int State = 0;  // 0 not shown, 1 shown, 2 passed
    int StarsCount = 0;
    float OverA = 0, dOverA = 0;
    int isCurrent = 0;

    virtual ~TMiniLevel() = default;
    // The picture centred at (x, y).
    virtual int DrawMini(float x, float y);
    virtual int Draw();
    // The glow toward its target.
    virtual int Update();
    // Reads one record. Values are read as integers leniently (blanks and line breaks around
    // them do no harm); a record with fewer cells than its size leaves the rest empty, a size
    // below zero counts as 0.
    virtual int FromString(const std::string& record);
    virtual int isVisible();
    // 1 when the mouse is over an open thumbnail that may react: not during the map's
    // first-time show, not in the two bottom corners where the map's buttons lie.
    virtual int isOver();
    virtual std::string ToString();
};

using TMiniLevelPtr = std::shared_ptr<TMiniLevel>;

// Loads the thumbnails' pictures from folder (ending in "/") and the records of
// folder + "MiniLevels.txt"; points come from holder's sub-objects. Returns the thumbnails.
// holderDamaged: the holder's screen file was reported damaged, so the points it lacks are not
// reported again.
std::vector<TMiniLevelPtr> LoadMiniLevels(const std::string& folder, const TGameObjectPtr& holder,
                                          bool holderDamaged = false);
// The records of the file's text, as LoadMiniLevels reads them (points left empty).
std::vector<TMiniLevelPtr> ReadMiniLevels(const std::string& text);

class TMapCloudObject : public TGameObject {
public:
    static std::array<TImagePtr, 6> Img;

    float x = 0, y = 0;
    float Speed = 0;
    int n = 0;

    int Update() override;
    int Draw() override;
    virtual int ResetY();
    virtual int Reset();
};

// Tests: the shared pictures and the pulse back to nothing.
void ResetMiniLevelGlobals();

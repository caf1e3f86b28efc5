// One cell of a won level's finished picture, as a game object for the level summary:
// TPACLevel::GetTileGameObject makes one per cell, under the summary's picture object. It holds
// the cell's pictures as sub-objects (each drawn on layer 5): the coloured box of a solution
// cell, the error mark on it, or the cross of an empty cell. The summary reveals them.
#pragma once
#include <memory>

#include "engine/screen/GameObject.h"

class TUIImage;

class TTileGameObject : public TGameObject {
public:
    TGameObject* Level = nullptr;     // the picture object's parent, not owned
    std::shared_ptr<TUIImage> Tile;   // the coloured box, or null
    std::shared_ptr<TUIImage> Error;  // the error mark, or null
    std::shared_ptr<TUIImage> Mark;   // the cross, or null
    std::shared_ptr<TUIImage> Empty;  // the empty cell's grid picture, or null
    float Per = 0;
    int isTileRevealed = 0;  // 1: the box's colour was the current colour when the level ended
    int isMarkedRevealed = 0;
    int isErrorRevealed = 0;
    int isEmptyRevealed = 0;

    // Every frame: Per follows the picture's animation; the box stays opaque while the error
    // mark and the cross fade out as the picture flies.
    int Update() override;
    virtual int UpdatePer();
    virtual int UpdateEmpty() { return 0; }
    // Forgets the picture.
    int OnFree() override;
};

using TTileGameObjectPtr = std::shared_ptr<TTileGameObject>;

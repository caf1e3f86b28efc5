#include "game/levels/BoardView.h"

#include "engine/system/Hook.h"

namespace {
// A slot (engine/system/Hook.h): counted and checked with every other way up. It does not own the
// view, which clears it when it goes.
THookObject<TBoardView, TBoardView*> gBoard{"BoardView"};
}  // namespace

TBoardView::~TBoardView() {
    if (gBoard.Get() == this) gBoard = nullptr;
}

TBoardView* PlayingBoard() { return gBoard.Get(); }

void SetBoardView(TBoardView* view) { gBoard = view; }

#include "game/levels/BoardView.h"

namespace {
TBoardView* gBoard = nullptr;
}  // namespace

TBoardView::~TBoardView() {
    if (gBoard == this) gBoard = nullptr;
}

TBoardView* PlayingBoard() { return gBoard; }

void SetBoardView(TBoardView* view) { gBoard = view; }

#include "engine/DrawObject.h"

#include "engine/Shape.h"

TAppScreen* TAppDrawObject::CurrScreen = nullptr;

int TAppDrawObject::Draw(float, float) { return 0; }

std::shared_ptr<TAppShape> TAppDrawObject::ToShape() { return nullptr; }

int TAppDrawObject::Save(const TBlockFilePtr&) { return 0; }

int TAppDrawObject::Load(const TBlockFilePtr&) { return 0; }

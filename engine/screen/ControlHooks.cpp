#include "engine/screen/ControlHooks.h"

THook<bool(const std::shared_ptr<TAsset>&)> ControlHooks::AddGlobalAsset{"ControlHooks::AddGlobalAsset"};
THook<bool(const std::string&, int, void (*)(), void (*)())> ControlHooks::ShowMessage{"ControlHooks::ShowMessage"};
THook<void(int32_t)> ControlHooks::FrameStart{"ControlHooks::FrameStart"};
THook<void()> ControlHooks::BeforeFlip{"ControlHooks::BeforeFlip"};
THook<void()> ControlHooks::AppEnd{"ControlHooks::AppEnd"};

#include "engine/screen/ControlHooks.h"

#include "engine/screen/AppScreen.h"

THook<bool(const std::shared_ptr<TAsset>&)> ControlHooks::AddGlobalAsset{"ControlHooks::AddGlobalAsset"};
THook<bool(const std::string&, int, void (*)(), void (*)())> ControlHooks::ShowMessage{"ControlHooks::ShowMessage"};
THookObject<TFrameHarness> ControlHooks::Harness{"ControlHooks::Harness"};
THookObject<TAppScreen> ControlHooks::PauseScreen{"ControlHooks::PauseScreen"};

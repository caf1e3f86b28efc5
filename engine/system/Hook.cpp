#include "engine/system/Hook.h"

#include <algorithm>

#include "engine/system/Error.h"

namespace {
// Made on first use, so the slots of every file find it whatever order they are made in.
std::vector<THookSlot*>& Slots() {
    static std::vector<THookSlot*> slots;
    return slots;
}
}  // namespace

THookSlot::THookSlot(const char* name) : name_(name) { Slots().push_back(this); }

THookSlot::~THookSlot() {
    auto& slots = Slots();
    slots.erase(std::remove(slots.begin(), slots.end(), this), slots.end());
}

void THookSlot::ReportUnsetCall() const {
    if (reported_) return;
    reported_ = true;
    ProgramError(std::string("Hook ") + name_ + " was called, but start-up never set it");
}

void THookSlot::ReportMissingTarget(const std::string& target) const {
    if (missingReported_) return;
    missingReported_ = true;
    ProgramError(std::string("Hook ") + name_ + " was called, but " + target + " does not exist");
}

const std::vector<THookSlot*>& HookSlots() { return Slots(); }

std::vector<std::string> UnsetHooks() {
    std::vector<std::string> names;
    for (const THookSlot* slot : Slots())
        if (!slot->IsSet()) names.emplace_back(slot->Name());
    return names;
}

int ReportUnsetHooks() {
    const std::vector<std::string> names = UnsetHooks();
    for (const std::string& name : names) ProgramError("Hook " + name + " is not set: start-up must set every hook");
    return static_cast<int>(names.size());
}

void UnsetAllHooks() {
    for (THookSlot* slot : Slots()) slot->Unset();
}

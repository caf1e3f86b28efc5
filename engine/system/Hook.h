// The one way a lower folder calls up into a higher one that it may not include: a named slot.
// Each folder that needs any declares its slots in one small header of its own (ControlHooks.h);
// start-up, the one place that knows every folder, sets them all
// (game/startup/AppInit.cpp, WireHooks) and then reports by name every slot it left unset. A
// call through a slot that nobody set is an error line (once, until the slot is set) and gives
// the result type's empty value, and a set slot whose target does not exist says so too: nothing
// is left silently undone. Neither line is ever held back (ProgramError).
//
// Where the higher object can be handed to the lower one where it is made, that is preferred;
// a slot is for the rest.
#pragma once
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class THookSlot {
public:
    explicit THookSlot(const char* name);
    virtual ~THookSlot();
    THookSlot(const THookSlot&) = delete;
    THookSlot& operator=(const THookSlot&) = delete;

    // The slot's name as its header gives it ("ControlHooks::ShowMessage").
    const char* Name() const { return name_; }
    virtual bool IsSet() const = 0;
    // Back to unset (tests).
    virtual void Unset() = 0;
    // For the function set in the slot, when what it calls does not exist (a screen not made
    // yet): the error line saying so, once until the slot is set again.
    void ReportMissingTarget(const std::string& target) const;

protected:
    // The error line of a call through the slot while nobody set it, once until it is set.
    void ReportUnsetCall() const;
    mutable bool reported_ = false;
    mutable bool missingReported_ = false;

private:
    const char* name_;
};

template <class Signature>
class THook;

template <class R, class... Args>
class THook<R(Args...)> final : public THookSlot {
public:
    using Function = std::function<R(Args...)>;

    explicit THook(const char* name) : THookSlot(name) {}

    // Sets the slot; an empty function unsets it.
    THook& operator=(Function function) {
        function_ = std::move(function);
        reported_ = false;
        missingReported_ = false;
        return *this;
    }
    bool IsSet() const override { return static_cast<bool>(function_); }
    void Unset() override { function_ = nullptr; }
    // What the slot holds (a test that wraps it keeps the old one to call on).
    const Function& Get() const { return function_; }

    R operator()(Args... args) const {
        if (!function_) {
            ReportUnsetCall();
            if constexpr (std::is_void_v<R>)
                return;
            else
                return R{};
        }
        return function_(std::forward<Args>(args)...);
    }

private:
    Function function_;
};

// Every slot of the program, in the order they were made (they are static, so all exist before
// main runs).
const std::vector<THookSlot*>& HookSlots();
// The names of the slots nobody set, in that order.
std::vector<std::string> UnsetHooks();
// Start-up, once it has set every slot: an error line naming each slot left unset. Gives their
// number.
int ReportUnsetHooks();
// Every slot back to unset (tests).
void UnsetAllHooks();

// The ways a lower folder calls up into a higher one that it may not include, all of one kind: a
// named slot. A slot holds either a function (THook) or an object that the lower folder calls
// (THookObject: an interface of the lower folder that a higher one implements). Each folder that
// needs any declares its slots in one small header of its own (engine/screen/ControlHooks.h,
// game/progress/ProgressScreens.h, game/levels/BoardView.h); start-up, the one place that knows
// every folder, sets them all (game/startup: WireHooks, CreateAppScreens, main's harness) and
// then reports by name every slot it left unset. A call through a slot that nobody set is an
// error line (once, until the slot is set) and gives the result type's empty value, and a set
// slot whose target does not exist says so too: nothing is left silently undone. Neither line is
// ever held back (ProgramError). docs/DEVELOPING.md lists every slot and why it exists;
// `--timings` prints how many there are and how many start-up set.
//
// Where the higher object can be handed to the lower one where it is made, that is preferred;
// a slot is for the rest.
#pragma once
#include <functional>
#include <memory>
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
    // The slot was set anew: its error lines may be said again.
    void Rearm() {
        reported_ = false;
        missingReported_ = false;
    }
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
        Rearm();
        return *this;
    }
    bool IsSet() const override { return static_cast<bool>(function_); }
    void Unset() override { function_ = nullptr; }
    // What the slot holds (a test that wraps it keeps the old one to call on).
    const Function& Get() const { return function_; }

    R operator()(Args... args) const {
        if (!function_) {
            ReportUnsetCall();
            if constexpr (std::is_void_v<R>) return;
            else return R{};
        }
        return function_(std::forward<Args>(args)...);
    }

private:
    Function function_;
};

// A slot that holds an object (by Pointer: a shared_ptr, or a plain pointer the object clears
// itself when it goes). Get() gives it or null; Required() gives it too, and when nobody set the
// slot says so (once, until it is set), for callers that cannot do without it.
template <class T, class Pointer = std::shared_ptr<T>>
class THookObject final : public THookSlot {
public:
    explicit THookObject(const char* name) : THookSlot(name) {}

    // Sets the slot; null unsets it.
    THookObject& operator=(Pointer object) {
        object_ = std::move(object);
        Rearm();
        return *this;
    }
    bool IsSet() const override { return static_cast<bool>(object_); }
    void Unset() override { object_ = nullptr; }
    explicit operator bool() const { return IsSet(); }
    const Pointer& Get() const { return object_; }
    T* operator->() const { return &*object_; }
    const Pointer& Required() const {
        if (!object_) ReportUnsetCall();
        return object_;
    }

private:
    Pointer object_{};
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

// An animated value: a float that follows a target at its own rise and fall speeds (per frame at
// 60 frames a second, scaled by delta), optionally reversing its target on every arrival so it
// swings for ever. Stored as a "VAR" block:
//
//     VAR{
//     	Name = "fade"
//     	Speed = 0.100000001, 0.0500000007
//     	MinMax = 0.000000000, 1.00000000
//     	Flags = false, true, false
//     	Value = 0.500000000      (only when isValueSaved)
//     }
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/screen/AppObj.h"

class TAppVar : public TAppObj {
public:
    float p = 0;         // the value now
    float dp = 0;        // its target
    float speedInc = 0;  // rise per frame at delta 1
    float speedDec = 0;  // fall per frame at delta 1
    float MinVal = 0;    // carried in the block; update does not apply them
    float MaxVal = 1;
    int32_t isValueSaved = 0;     // the block stores p too
    int32_t isSwitcher = 0;       // on arrival the target flips between 0 and 1
    int32_t isSwitcherMinus = 0;  // on arrival the target flips between 1 and -1

    // The object's Update slot runs one step.
    int Update() override { return update(); }
    // "name, id = 3, value = 0.500000000  dp = 1.00000000".
    std::string ToString() override;

    virtual int update();
    virtual int SaveToBlock(const TBlockFilePtr& block);
    virtual int LoadFromBlock(const TBlockFilePtr& block);
    // 1 when the value has settled at v (p and dp both exactly v).
    virtual int ValueIsEven(float v);
    virtual float Value() { return p; }
    virtual float DValue() { return dp; }
    // Sin / Cos of f * p degrees.
    virtual float ValueSin(float f);
    virtual float ValueCos(float f);
    virtual int SetBoth(float v);
    virtual int SetValue(float v);
    virtual int SetDValue(float v);
    virtual int SwitchD();
    virtual int SwitchMinusD();
    virtual int SetIncSpeed(float v);
    virtual int SetDecSpeed(float v);
    virtual int SetBothSpeed(float inc, float dec);
    virtual float GetIncSpeed() { return speedInc; }
    virtual float GetDecSpeed() { return speedDec; }
};

using TAppVarPtr = std::shared_ptr<TAppVar>;

TAppVarPtr CreateAppVar(const std::string& name, float speedInc, float speedDec);
// One value per "VAR" child block of block, in order.
std::vector<TAppVarPtr> LoadVarArray(const TBlockFilePtr& block);

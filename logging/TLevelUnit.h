// The level table: eight named levels, compared by their signed values.
#pragma once
#include <string>

class TLevel {
public:
    TLevel(const wchar_t* AName, int AValue) : FName(AName), FLevelValue(AValue) {}
    TLevel(const TLevel&) = delete;
    TLevel& operator=(const TLevel&) = delete;
    const std::wstring& GetName() const { return FName; }
    int GetValue() const { return FLevelValue; }
    // Whether this level is at least as severe as AOther; raises "Level is Nil" for no level.
    bool IsGreaterOrEqual(const TLevel* AOther) const {  // inline: asked on every record
        if (!AOther) ThrowNil();
        return FLevelValue >= AOther->FLevelValue;
    }

private:
    [[noreturn]] static void ThrowNil();

    std::wstring FName;
    int FLevelValue;
};

// The table lives for the whole process; names avoid the platform's ERROR macro.
extern const TLevel* const LevelOFF;
extern const TLevel* const LevelFATAL;
extern const TLevel* const LevelERROR;
extern const TLevel* const LevelWARN;
extern const TLevel* const LevelINFO;
extern const TLevel* const LevelDEBUG;
extern const TLevel* const LevelTRACE;
extern const TLevel* const LevelALL;

// The level whose name equals AName without regard to case, or nullptr.
const TLevel* LevelFromName(const std::wstring& AName);
// A level's name, or "Nil" for no level (for diagnostics only).
std::wstring LevelNameOf(const TLevel* ALevel);

#pragma once
#include "replay/CReplayReader.h"

extern const ReplayProfile kTaskoProfile;

// Reader of the game's replays ("tsko", tasko_*.rpy).
class CTaskoRec final : public CReplayReader {
public:
    CTaskoRec() noexcept : CReplayReader(kTaskoProfile) {}
};

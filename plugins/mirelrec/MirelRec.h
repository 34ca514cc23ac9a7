#pragma once
#include "replay/CReplayReader.h"

extern const ReplayProfile kMirelProfile;

// Reader of the game's replays ("mirl", mirel_*.rpy).
class CMirelRec final : public CReplayReader {
public:
    CMirelRec() noexcept : CReplayReader(kMirelProfile) {}
};

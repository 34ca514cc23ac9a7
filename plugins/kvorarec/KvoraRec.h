#pragma once
#include "replay/CReplayReader.h"

extern const ReplayProfile kKvoraProfile;

// Reader of the game's replays ("kvor", kvora_*.rpy).
class CKvoraRec final : public CReplayReader {
public:
    CKvoraRec() noexcept : CReplayReader(kKvoraProfile) {}
};

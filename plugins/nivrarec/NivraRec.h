#pragma once
#include "replay/CReplayReader.h"

extern const ReplayProfile kNivraProfile;

// Reader of the game's replays ("nivr", nivra_*.rpy).
class CNivraRec final : public CReplayReader {
public:
    CNivraRec() noexcept : CReplayReader(kNivraProfile) {}
};

#pragma once
// The readers of the games that tests and benchmarks name, as their plug-ins
// make them (common/PluginReader.h): the kind's reader bound to the profile
// that the game's folder defines (linked from kvp_replay_profiles or
// kvp_image_profiles).
#include "common/GameReader.h"
#include "image/CImageReader.h"
#include "replay/CReplayReader.h"

KVP_GAME_READER(CKvoraRec, CReplayReader, kKvoraProfile);
KVP_GAME_READER(CMirelRec, CReplayReader, kMirelProfile);
KVP_GAME_READER(CTaskoRec, CReplayReader, kTaskoProfile);
KVP_GAME_READER(CNivraRec, CReplayReader, kNivraProfile);
KVP_GAME_READER(CBryssPic, CImageReader, kBryssProfile);
KVP_GAME_READER(CZoltePic, CImageReader, kZolteProfile);

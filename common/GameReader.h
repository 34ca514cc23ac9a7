#pragma once
// KVP_GAME_READER(CKvoraRec, CReplayReader, kKvoraProfile) defines a game's
// reader class: the reader of the game's kind, bound to the game's profile
// (defined in the game's folder). A plug-in's reader is made so
// (common/PluginReader.h), and so are the readers that tests name.
#define KVP_GAME_READER(Reader, KindReader, profile)                 \
    extern const KindReader::GameProfile profile;                    \
    class Reader final : public KindReader {                         \
    public:                                                          \
        Reader() noexcept : KindReader(profile) {}                   \
    }

#pragma once
#include <cstdint>

#include "replay/CommentWriteBack.h"
#include "replay/IReplay.h"
#include "replay/ReplayInfo.h"
#include "replay/ReplayProfile.h"

// The reader every replay game uses; the game enters only through its
// profile. Each game's reader (CKvoraRec and so on) is this bound to the
// game's profile (common/GameReader.h).
class CReplayReader : public IReplay {
public:
    using GameProfile = ReplayProfile;

    explicit CReplayReader(const ReplayProfile& profile) noexcept : m_profile(profile) {}

    bool CheckMagic(const char* data, uint32_t size) const override;
    int GetInfoSection(const char* data, uint32_t size, const char** text,
                       uint32_t* textSize) const override;
    int GetCommentSection(const char* data, uint32_t size, const char** text,
                          uint32_t* textSize) const override;
    int GetSlotFromFileName(const char* name, SlotKind* kind, char* buffer,
                            size_t bufferSize) const override;

    // Parses the information section into info. Results: 0 done, 2 no
    // well-formed information section, 4 the copy cannot be allocated.
    int GetInfo(const char* data, uint32_t size, ReplayInfo& info) const;

    // Replaces the comment of the replay file at path with the count bytes of
    // text (the dialog passes its NUL too). Results: 0 written; 2 the file is
    // missing, unreadable, not this game's or not laid out as a replay
    // (untouched); 3 read-only, out of memory or a failed write (untouched).
    // fault, if given, says why. Works through files (CommentWriteBack.cpp);
    // on Windows the form without files works on the disk
    // (WriteCommentOnDisk.cpp).
    int WriteComment(const char* path, const char* text, int count, IFileSystem& files,
                     CommentFault* fault = nullptr) const;
#ifdef _WIN32
    int WriteComment(const char* path, const char* text, int count,
                     CommentFault* fault = nullptr) const;
#endif

    const ReplayProfile& Profile() const noexcept { return m_profile; }

private:
    const ReplayProfile& m_profile;
};

// The write-back's portable part: the new content of a replay, and the steps
// that put it in the replay's place through an IFileSystem.
#include "replay/CommentWriteBack.h"

#include <cstring>
#include <new>

#include "common/ByteReader.h"
#include "replay/CReplayReader.h"
#include "replay/ReplayContainer.h"

namespace {

constexpr uint32_t kHeadSize = 16;   // magic, replay header, user-data offset
const char kUserTag[4] = {'U', 'S', 'E', 'R'};

void PutU32(char* to, uint32_t value) noexcept
{
    for (int i = 0; i < 4; ++i) to[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

int BuildCommentedReplay(const char* data, uint32_t size, const char* text, uint32_t count,
                         smart_array<char>& out) noexcept
{
    if (!data || (count && !text) || size < kHeadSize) return kCommentBadLayout;
    uint32_t userData = 0;
    if (!ByteReader(data, size).ReadU32(kUserDataOffsetField, userData) || userData < kHeadSize)
        return kCommentBadLayout;   // the head must stay whole, user-data offset included

    SectionPlace first{}, second{};
    const SectionPlace* info = &first;
    SectionPlace comment{};
    if (!ReadSectionHeader(data, size, userData, first)) return kCommentBadLayout;
    const bool infoIsLast = first.type == kInfoSection && first.length >= kSectionHeaderSize &&
                            first.length == size - userData;
    if (infoIsLast) {
        // No comment section yet: the first comment gets a header of its own.
        std::memcpy(comment.tag, kUserTag, 4);
        comment.type = kCommentSection;
    } else {
        if (!ReadSectionPair(data, size, first, second)) return kCommentBadLayout;
        info = first.type == kInfoSection ? &first : &second;
        comment = first.type == kInfoSection ? second : first;
    }

    // userData + info->length <= size, so only the comment can overflow.
    const uint64_t total = uint64_t(userData) + info->length + kSectionHeaderSize + count;
    if (total > UINT32_MAX) return kCommentBadLayout;

    char* block = new (std::nothrow) char[size_t(total)];
    if (!block) return kCommentNoMemory;
    smart_array<char> built;
    if (!built.reset(block, uint32_t(total))) return kCommentNoMemory;

    char* to = built.data;
    std::memcpy(to, data, userData);
    to += userData;
    std::memcpy(to, data + info->offset, info->length);
    to += info->length;
    std::memcpy(to, comment.tag, 4);
    PutU32(to + 4, count + kSectionHeaderSize);
    PutU32(to + 8, comment.type);
    to += kSectionHeaderSize;
    if (count) std::memcpy(to, text, count);

    out = built;
    return kCommentBuilt;
}

namespace {

// Removes the temporary file on every way out but the one that used it.
class TempFileGuard {
public:
    explicit TempFileGuard(IFileSystem& files) noexcept : m_files(files) {}
    ~TempFileGuard() { if (!m_kept) m_files.DiscardTemp(); }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    void Keep() noexcept { m_kept = true; }

private:
    IFileSystem& m_files;
    bool m_kept = false;
};

}  // namespace

int CReplayReader::WriteComment(const char* path, const char* text, int count, IFileSystem& files,
                                CommentFault* fault) const
{
    CommentFault why = CommentFault::None;
    const int result = [&] {
        if (!path || count < 0 || (count && !text)) {
            why = CommentFault::WriteFailed;
            return kCommentNotAReplay;
        }
        switch (files.Probe(path)) {
        case FileState::Missing: why = CommentFault::Vanished; return kCommentNotAReplay;
        case FileState::NotAFile: why = CommentFault::NotThisGame; return kCommentNotAReplay;
        // Tested here because a rename would replace a read-only file where
        // the platform allows it.
        case FileState::ReadOnly: why = CommentFault::ReadOnly; return kCommentNotWritten;
        case FileState::Writable: break;
        }

        // The content as it is now, not as it was when the dialog opened.
        smart_array<char> file;
        if (!files.Load(path, file)) {
            why = files.Probe(path) == FileState::Missing ? CommentFault::Vanished : CommentFault::Unreadable;
            return kCommentNotAReplay;
        }
        if (!CheckMagic(file.data, file.size)) {
            why = CommentFault::NotThisGame;
            return kCommentNotAReplay;
        }
        smart_array<char> content;
        switch (BuildCommentedReplay(file.data, file.size, text, uint32_t(count), content)) {
        case kCommentBuilt: break;
        case kCommentNoMemory: why = CommentFault::OutOfMemory; return kCommentNotWritten;
        default: why = CommentFault::NotThisGame; return kCommentNotAReplay;
        }
        file.reset();

        TempFileGuard temp(files);
        if (!files.CreateTemp(path) || !files.WriteTemp(content.data, content.size) || !files.FlushTemp() ||
            !files.ReplaceWithTemp(path)) {
            why = CommentFault::WriteFailed;
            return kCommentNotWritten;
        }
        temp.Keep();
        return kCommentWritten;
    }();
    if (fault) *fault = why;
    return result;
}

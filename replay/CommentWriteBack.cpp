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

// The payload the readers find for a section type, or nothing.
struct FoundPayload {
    bool found = false;
    const char* text = nullptr;
    uint32_t size = 0;
};

FoundPayload Find(uint32_t type, const char* data, uint32_t size) noexcept
{
    FoundPayload payload;
    payload.found = FindUserSection(type, data, size, &payload.text, &payload.size) == kSectionFound;
    return payload;
}

bool IsPayloadOf(const FoundPayload& payload, const char* data, const SectionPlace& place) noexcept
{
    return payload.found && payload.text == data + place.offset + kSectionHeaderSize;
}

// The new content, read back as the readers read it: the comment is found
// and is the text, and the information is found and is the old one wherever
// the old file had one.
bool ReadsBack(const smart_array<char>& built, const FoundPayload& oldInfo, const char* text,
               uint32_t count) noexcept
{
    const FoundPayload comment = Find(kCommentSection, built.data, built.size);
    if (!comment.found || comment.size != count || (count && std::memcmp(comment.text, text, count) != 0))
        return false;
    if (!oldInfo.found) return true;
    const FoundPayload info = Find(kInfoSection, built.data, built.size);
    return info.found && info.size == oldInfo.size && std::memcmp(info.text, oldInfo.text, oldInfo.size) == 0;
}

}  // namespace

int BuildCommentedReplay(const char* data, uint32_t size, const char* text, uint32_t count,
                         smart_array<char>& out) noexcept
{
    if (!data || (count && !text) || size < kHeadSize) return kCommentBadLayout;
    uint32_t userData = 0;
    if (!ByteReader(data, size).ReadU32(kUserDataOffsetField, userData) || userData < kHeadSize)
        return kCommentBadLayout;   // the head must stay whole, user-data offset included

    // The sections the readers examine: the one at the user-data offset, and
    // the one behind it unless the first ends the file. Both must be whole.
    SectionPlace sections[2] = {};
    int sectionCount = 1;
    if (!ReadSectionHeader(data, size, userData, sections[0])) return kCommentBadLayout;
    const bool firstIsLast = sections[0].length >= kSectionHeaderSize && sections[0].length == size - userData;
    if (!firstIsLast) {
        if (!ReadSectionPair(data, size, sections[0], sections[1])) return kCommentBadLayout;
        sectionCount = 2;
    }

    // What the readers take for the information and the comment. The comment
    // is replaced; every other section is kept, the information first.
    const FoundPayload oldInfo = Find(kInfoSection, data, size);
    const FoundPayload oldComment = Find(kCommentSection, data, size);
    const SectionPlace* info = nullptr;
    const SectionPlace* kept[2] = {};
    int keptCount = 0;
    for (int i = 0; i < sectionCount; ++i) {
        if (IsPayloadOf(oldInfo, data, sections[i])) info = &sections[i];
        else if (!IsPayloadOf(oldComment, data, sections[i])) kept[keptCount++] = &sections[i];
    }

    // Whatever stands behind the examined sections (a third section, say) is
    // no business of the readers and is kept as it is.
    const SectionPlace& last = sections[sectionCount - 1];
    const uint32_t examinedEnd = last.offset + last.length;
    const uint32_t tail = size - examinedEnd;

    // The kept sections lie inside the file, so only the comment can overflow.
    uint64_t total = uint64_t(userData) + kSectionHeaderSize + count + tail;
    if (info) total += info->length;
    for (int i = 0; i < keptCount; ++i) total += kept[i]->length;
    if (total > UINT32_MAX) return kCommentBadLayout;

    char* block = new (std::nothrow) char[size_t(total)];
    if (!block) return kCommentNoMemory;
    smart_array<char> built;
    if (!built.reset(block, uint32_t(total))) return kCommentNoMemory;

    char* to = built.data;
    auto copy = [&](const char* from, uint32_t length) {
        if (length) std::memcpy(to, from, length);
        to += length;
    };
    copy(data, userData);
    if (info) copy(data + info->offset, info->length);
    std::memcpy(to, kUserTag, 4);
    PutU32(to + 4, count + kSectionHeaderSize);
    PutU32(to + 8, kCommentSection);
    to += kSectionHeaderSize;
    copy(text, count);
    for (int i = 0; i < keptCount; ++i) copy(data + kept[i]->offset, kept[i]->length);
    copy(data + examinedEnd, tail);

    if (!ReadsBack(built, oldInfo, text, count)) return kCommentBadLayout;
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
        smart_array<char> resolved;
        if (!files.FullPath(path, resolved) || !resolved.data) {
            why = CommentFault::WriteFailed;
            return kCommentNotWritten;
        }
        const char* full = resolved.data;

        switch (files.Probe(full)) {
        case FileState::Missing: why = CommentFault::Vanished; return kCommentNotAReplay;
        case FileState::NotAFile: why = CommentFault::NotAFile; return kCommentNotAReplay;
        // Tested here because a rename would replace a read-only file where
        // the platform allows it.
        case FileState::ReadOnly: why = CommentFault::ReadOnly; return kCommentNotWritten;
        case FileState::Writable: break;
        }

        // The content as it is now, not as it was when the dialog opened.
        smart_array<char> file;
        if (!files.Load(full, file)) {
            why = files.Probe(full) == FileState::Missing ? CommentFault::Vanished : CommentFault::Unreadable;
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
        default: why = CommentFault::BadLayout; return kCommentNotAReplay;
        }
        file.reset();

        TempFileGuard temp(files);
        if (!files.CreateTemp(full) || !files.WriteTemp(content.data, content.size) || !files.FlushTemp() ||
            !files.ReplaceWithTemp(full)) {
            why = CommentFault::WriteFailed;
            return kCommentNotWritten;
        }
        temp.Keep();
        return kCommentWritten;
    }();
    if (fault) *fault = why;
    return result;
}

#pragma once
// Rewriting the comment of a replay file. The one file this system ever
// writes, so it is never damaged: the new content is built in memory from a
// fresh read, written to a temporary file beside the replay, flushed, and
// only then put in the replay's place in one atomic step. Any failure leaves
// the replay byte for byte as it was.
//
// New content (all integers u32 little-endian), U being the user-data offset:
//
//   0          bytes 0 .. U-1 of the old file, unchanged
//   U          the information section of the old file, header and payload,
//              if the readers find one (length L, else L is 0)
//   U + L      comment header: "USER", length count + 12, type 1
//   U + L + 12 the count bytes of the new comment, its NUL included
//   then       the other sections of the two the readers examine (the one at
//              U and the one right behind it), unchanged and in their order:
//              a section that is neither the information nor the comment the
//              readers find is kept, never overwritten
//   then       every byte that stood behind those two sections, unchanged
//
// The old comment is the section the readers find as the comment (the one
// the editor shows); it alone is replaced. The new content is read back as
// the readers read it before it is handed out.
#include <cstdint>

#include "common/smart_array.h"

// WriteComment's results.
enum WriteCommentResult : int {
    kCommentWritten = 0,
    kCommentNotAReplay = 2,   // missing, unreadable, not a file, another game's file or a layout that cannot be rewritten
    kCommentNotWritten = 3,   // read-only, out of memory, or a step of the write failed
};

// Why a write-back failed, in the words the user is told.
enum class CommentFault {
    None,
    Vanished,      // the file is gone
    Unreadable,    // the file is there but cannot be read
    NotAFile,      // a folder (or a device) stands at the path
    NotThisGame,   // not a replay of this game
    BadLayout,     // this game's replay, whose sections cannot be rewritten
    ReadOnly,
    WriteFailed,
    OutOfMemory,
};

// BuildCommentedReplay's results.
enum BuildCommentResult : int {
    kCommentBuilt = 0,
    kCommentBadLayout = 2,
    kCommentNoMemory = 4,
};

// The new content of a replay (see above) from its old bytes and the new
// comment's count bytes. Checks the layout first: at least 16 bytes, a
// user-data offset of at least 16, section headers and sections wholly inside
// the buffer, lengths of at least 12, sizes that fit in 32 bits; then that the
// readers find the new comment and the old information in what was built;
// anything else is kCommentBadLayout. Reads nothing outside data and text; out is
// replaced only on success.
int BuildCommentedReplay(const char* data, uint32_t size, const char* text, uint32_t count,
                         smart_array<char>& out) noexcept;

// What a file is, as the write-back needs to know it.
enum class FileState { Missing, NotAFile, ReadOnly, Writable };

// The steps of the write-back on the file system, one temporary file at a
// time. A Windows implementation does the real work; tests put their own in
// between to make a step fail. Every step but FullPath gets the full path
// that FullPath made.
class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // The full path of path, NUL-terminated, made once, before any other
    // step: a relative path then names the same file at every step, even if
    // the current folder changes in between. False if it cannot be made.
    virtual bool FullPath(const char* path, smart_array<char>& full) noexcept = 0;
    virtual FileState Probe(const char* path) noexcept = 0;
    // The whole file, read in one piece.
    virtual bool Load(const char* path, smart_array<char>& buffer) noexcept = 0;
    // Creates a new, empty temporary file in the folder of the full path.
    virtual bool CreateTemp(const char* path) noexcept = 0;
    // Appends count bytes to it; false unless all of them were written.
    virtual bool WriteTemp(const char* bytes, uint32_t count) noexcept = 0;
    // Puts what was written on the disk and closes the temporary file.
    virtual bool FlushTemp() noexcept = 0;
    // Puts the temporary file in the place of path in one step.
    virtual bool ReplaceWithTemp(const char* path) noexcept = 0;
    // Closes and removes the temporary file, if there is one.
    virtual void DiscardTemp() noexcept = 0;
};

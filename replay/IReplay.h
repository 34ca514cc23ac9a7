#pragma once
#include <cstddef>
#include <cstdint>

#include "replay/SlotFromFileName.h"

// The replay reader interface. A reader holds no state of its own: callers
// make one as a local object for the length of one call. What an operation
// throws goes up to the export's catch-all (GuardExport).
class IReplay {
public:
    virtual ~IReplay() = default;

    // At least 4 bytes, and the first four equal the game's magic.
    virtual bool CheckMagic(const char* data, uint32_t size) const = 0;

    // FindUserSection for the information (type 0) and comment (type 1)
    // sections; same results.
    virtual int GetInfoSection(const char* data, uint32_t size, const char** text,
                               uint32_t* textSize) const = 0;
    virtual int GetCommentSection(const char* data, uint32_t size, const char** text,
                                  uint32_t* textSize) const = 0;

    virtual int GetSlotFromFileName(const char* name, SlotKind* kind, char* buffer,
                                    size_t bufferSize) const = 0;
};

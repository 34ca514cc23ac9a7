#include "replay/ReplayRows.h"

#include <cstring>

#include "replay/ReplayContainer.h"

namespace {

void WriteSlot(const CReplayReader& reader, const char* fileName, char* field)
{
    SlotKind kind = Other;
    char slot[5] = {};
    if (reader.GetSlotFromFileName(fileName, &kind, slot, sizeof slot) != kSlotDone) return;
    switch (kind) {
    case Numbered: FormatField(field, "No.%2s", slot); break;
    case User: FormatField(field, "User"); break;
    default: FormatField(field, "----"); break;
    }
}

}  // namespace

PluginResult MakeListInfo(const CReplayReader& reader, const char* image, uint32_t size,
                          HLOCAL* row, const char* fileName)
{
    if (!image || !row) return Failure;
    if (!reader.CheckMagic(image, size)) return Unsupported;

    const ReplayProfile& profile = reader.Profile();
    char* block = static_cast<char*>(HostAlloc(size_t(profile.columnCount) * kFieldSize));
    *row = block;
    if (!block) return OutOfMemory;

    ReplayInfo info;
    const int parsed = reader.GetInfo(image, size, info);
    if (parsed != Ok) return static_cast<PluginResult>(parsed);

    // The locator finds the section or says why not (a bad call, no such
    // section); to the host both mean the file cannot be read.
    const char* comment = nullptr;
    uint32_t commentSize = 0;
    if (FindUserSection(kCommentSection, image, size, &comment, &commentSize) != kSectionFound) return ReadError;
    // A comment without a NUL ends at the end of its payload.
    const size_t commentLength = strnlen(comment, commentSize);

    for (uint32_t i = 0; i < profile.columnCount; ++i) {
        const ReplayColumn& column = profile.columns[i];
        char* field = block + size_t(i) * kFieldSize;
        switch (column.source) {
        case ColumnSource::Host: break;
        case ColumnSource::Slot: WriteSlot(reader, fileName ? fileName : "", field); break;
        case ColumnSource::Info: FormatField(field, "%s", info.Get(column.field)); break;
        case ColumnSource::Comment:
            // Bound the length first: a stored comment may be 30000 bytes.
            FormatField(field, "%.*s", static_cast<int>(commentLength < kFieldSize ? commentLength : kFieldSize),
                        comment);
            break;
        }
    }
    return Ok;
}

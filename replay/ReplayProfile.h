#pragma once
#include <cstdint>

#include "common/ColumnInfo.h"
#include "replay/ReplayInfo.h"
#include "replay/SlotFromFileName.h"

// Where a list column's text comes from.
enum class ColumnSource : uint8_t {
    Host,      // the host fills it from the file system
    Slot,      // slot recognised from the file name
    Info,      // a field of the information text
    Comment,   // the comment section
};

struct ReplayColumn {
    ColumnInfo info;
    ColumnSource source;
    InfoField field;   // for ColumnSource::Info
};

// Everything that differs between the replay games. A plug-in is built with
// exactly one profile.
struct ReplayProfile {
    char magic[4];
    const char* prefix;   // of the replays' file names, "kvora" in kvora_07.rpy
    InfoKeyList keys;
    const ReplayColumn* columns;   // display order, without the end record
    uint32_t columnCount;
};

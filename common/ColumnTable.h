#pragma once
#include <cstdint>
#include <cstring>

#include "common/ColumnInfo.h"
#include "common/HostMemory.h"
#include "common/PluginResult.h"

// GetColumnInfo's work: hands the host a copy of the column records followed
// by the all-zero end record. Column is any record with a ColumnInfo `info`.
template <typename Column>
PluginResult HandOverColumnTable(const Column* columns, uint32_t count, HLOCAL* out) noexcept
{
    if (!out) return Failure;
    const size_t bytes = (size_t(count) + 1) * sizeof(ColumnInfo);
    ColumnInfo* table = static_cast<ColumnInfo*>(HostAlloc(bytes));
    *out = table;
    if (!table) return OutOfMemory;
    for (uint32_t i = 0; i < count; ++i) std::memcpy(&table[i], &columns[i].info, sizeof(ColumnInfo));
    return Ok;  // the end record is the block's zero fill
}

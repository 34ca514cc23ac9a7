#pragma once
#include <cstddef>

// Blocks handed to the host. On Windows they come from LocalAlloc with
// LMEM_ZEROINIT and the host releases them with LocalFree; the portable build
// (tests, fuzzers) uses the C heap so that the same code runs natively.
#ifdef _WIN32
#include <windows.h>
#else
typedef void* HLOCAL;
#endif

// Zero-filled block of n bytes, or null.
HLOCAL HostAlloc(size_t n) noexcept;

// Releases a block made by HostAlloc; used only for blocks that never reached
// the host, or by test code acting as the host.
void HostFree(HLOCAL block) noexcept;

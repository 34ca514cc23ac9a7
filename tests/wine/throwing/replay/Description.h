#pragma once
// As the game it wraps, through a reader that throws.
#include "plugins/kvorarec/Description.h"
#undef KVP_PLUGIN_READER
#undef KVP_KIND_READER
#undef KVP_KIND_READER_HEADER
#define KVP_PLUGIN_READER CThrowingRec
#define KVP_KIND_READER CThrowingReplayReader
#define KVP_KIND_READER_HEADER "wine/throwing/ThrowingReader.h"

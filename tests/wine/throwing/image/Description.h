#pragma once
// As the game it wraps, through a reader that throws.
#include "plugins/brysspic/Description.h"
#undef KVP_PLUGIN_READER
#undef KVP_KIND_READER
#undef KVP_KIND_READER_HEADER
#define KVP_PLUGIN_READER CThrowingPic
#define KVP_KIND_READER CThrowingImageReader
#define KVP_KIND_READER_HEADER "wine/throwing/ThrowingReader.h"

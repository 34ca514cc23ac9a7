#pragma once
// A picture plug-in's files are what its kind names ("Zoltedan ベストショット"),
// and its reader is made from the picture reader.
#define KVP_KIND_READER CImageReader
#define KVP_KIND_READER_HEADER "image/CImageReader.h"
#define KVP_PLUGIN_FILE_NOUN KVP_PLUGIN_KIND
#include "common/PluginDescription.h"

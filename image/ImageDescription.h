#pragma once
// A picture plug-in's files are what its kind names ("Zoltedan ベストショット").
#define KVP_PLUGIN_FILE_NOUN KVP_PLUGIN_KIND
#include "common/PluginDescription.h"

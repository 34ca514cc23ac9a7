#pragma once
// CPluginReader, the reader class of the plug-in being built, which its
// exports, list rows and comment editor use. The plug-in's Description.h
// names it (KVP_PLUGIN_READER) and the profile it reads with
// (KVP_PLUGIN_PROFILE, defined in the folder's profile source); the kind's
// description names the reader of the kind (KVP_KIND_READER, declared in
// KVP_KIND_READER_HEADER) that it binds to the profile.
#include "Description.h"
#include "common/GameReader.h"
#include KVP_KIND_READER_HEADER

KVP_GAME_READER(KVP_PLUGIN_READER, KVP_KIND_READER, KVP_PLUGIN_PROFILE);
using CPluginReader = KVP_PLUGIN_READER;

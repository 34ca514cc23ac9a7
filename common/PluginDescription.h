#pragma once
// The facts that a plug-in's folder states once, in its Description.h
// (UTF-8), some through its kind's description (replay/ReplayDescription.h,
// image/ImageDescription.h), and the texts made from them:
//
//   KVP_PLUGIN_KIND            string 1, the kind of file ("Kvoradan")
//   KVP_PLUGIN_VERSION_MAJOR   1 and 2 for version 1.02
//   KVP_PLUGIN_VERSION_MINOR
//   KVP_PLUGIN_PATTERN         string 2, the file-name pattern
//   KVP_PLUGIN_FILE_NOUN       what the files are ("Kvoradan リプレイ")
//   KVP_PLUGIN_FILTER_NOUN     what string 3 calls them before the pattern
//   KVP_PLUGIN_READER          its reader class (CKvoraRec), made by
//                              common/PluginReader.h ...
//   KVP_PLUGIN_PROFILE         ... with the game's profile (kKvoraProfile),
//                              defined in the folder's profile source
//   KVP_KIND_READER            ... and the reader of its kind (CReplayReader),
//   KVP_KIND_READER_HEADER     declared in the header this names
//   KVP_SAMPLE_SERIES          which series of made-up files
//                              tools/samples/make_samples.cpp writes into
//                              samples/NAME (each series has names, numbers
//                              and pictures of its own)
//
// GetPluginInfo's strings (common/PluginStrings.cpp, compiled to Shift-JIS)
// and the version resource (cmake/VersionInfo.rc.in) are both made from the
// macros below. The resource compiler reads this too: macros only.
#include "common/AuthorNotice.h"

#if !defined(KVP_PLUGIN_KIND) || !defined(KVP_PLUGIN_VERSION_MAJOR) || !defined(KVP_PLUGIN_VERSION_MINOR) || \
    !defined(KVP_PLUGIN_PATTERN) || !defined(KVP_PLUGIN_FILE_NOUN) || !defined(KVP_PLUGIN_FILTER_NOUN)
#error "a plug-in's Description.h states every fact that its texts are made from"
#endif

#define KVP_TEXT_OF_(x) #x
#define KVP_TEXT_OF(x) KVP_TEXT_OF_(x)
// "1.02": the minor number always shows two digits.
#if KVP_PLUGIN_VERSION_MINOR < 10
#define KVP_VERSION_TEXT KVP_TEXT_OF(KVP_PLUGIN_VERSION_MAJOR) ".0" KVP_TEXT_OF(KVP_PLUGIN_VERSION_MINOR)
#else
#define KVP_VERSION_TEXT KVP_TEXT_OF(KVP_PLUGIN_VERSION_MAJOR) "." KVP_TEXT_OF(KVP_PLUGIN_VERSION_MINOR)
#endif
#define KVP_VERSION_NUMBERS KVP_PLUGIN_VERSION_MAJOR, KVP_PLUGIN_VERSION_MINOR, 0, 0

#define KVP_PRODUCT_NAME "KARVO Plug-in For " KVP_PLUGIN_KIND
#define KVP_FILE_DESCRIPTION KVP_PLUGIN_FILE_NOUN " (" KVP_PLUGIN_PATTERN ")"

// GetPluginInfo's strings 0 to 3.
#define KVP_PLUGIN_STRING0 KVP_PRODUCT_NAME " Ver" KVP_VERSION_TEXT " " KVP_COPYRIGHT
#define KVP_PLUGIN_STRING1 KVP_PLUGIN_KIND
#define KVP_PLUGIN_STRING2 KVP_PLUGIN_PATTERN
#define KVP_PLUGIN_STRING3 KVP_PLUGIN_FILTER_NOUN "(" KVP_PLUGIN_PATTERN ")"

// GetPluginInfo's strings, made from the plug-in's Description.h. Compiled
// into each plug-in with -fexec-charset=CP932: the description is UTF-8, the
// host reads Shift-JIS.
#include "Description.h"
#include "common/PluginInfo.h"

extern const PluginStrings kPluginStrings = {
    {KVP_PLUGIN_STRING0, KVP_PLUGIN_STRING1, KVP_PLUGIN_STRING2, KVP_PLUGIN_STRING3},
};

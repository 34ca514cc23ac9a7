// The exports every plug-in has, whatever it reads. Compiled into each
// plug-in with its own reader class (CPluginReader, which its folder's
// Description.h names).
#include <windows.h>

#include "common/ColumnTable.h"
#include "common/PluginFrame.h"
#include "common/PluginInfo.h"
#include "common/PluginExports.h"
#include "common/PluginModule.h"
#include "common/PluginReader.h"

extern "C" {

int WINAPI GetPluginRevision()
{
    return kPluginRevision;
}

int WINAPI GetPluginInfo(int index, LPSTR buffer, int bufferSize)
{
    return CopyPluginInfo(kPluginStrings, index, buffer, bufferSize);
}

int WINAPI IsSupported(LPCSTR pathOrImage, DWORD imageSize)
{
    return GuardExport(0, [&] { return IsSupportedBy(CPluginReader(), pathOrImage, imageSize); });
}

int WINAPI GetColumnInfo(HLOCAL* columns)
{
    const auto& profile = CPluginReader().Profile();
    return HandOverColumnTable(profile.columns, profile.columnCount, columns);
}

}  // extern "C"

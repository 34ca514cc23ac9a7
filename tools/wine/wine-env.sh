# Sourced by the Wine test scripts: one private prefix per build folder, no
# debugger, no output noise, and the loader that matches the build.
# Needs KVP_WINE_ARCH (win32 or win64) and KVP_WINE_PREFIX.
export WINEPREFIX="$KVP_WINE_PREFIX"
export WINEARCH="$KVP_WINE_ARCH"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe,mscoree,mshtml=d"
if [ "$KVP_WINE_ARCH" = win64 ]; then
  KVP_WINE=/usr/lib/wine/wine64
  export WINESERVER=/usr/lib/wine/wineserver64
  [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
else
  KVP_WINE=/usr/lib/wine/wine
  export WINESERVER=/usr/lib/wine/wineserver
fi
export WINELOADER="$KVP_WINE"

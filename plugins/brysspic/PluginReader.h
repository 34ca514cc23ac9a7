#pragma once
#include "BryssPic.h"

using CPluginReader = CBryssPic;

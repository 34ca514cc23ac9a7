#pragma once
#include "ZoltePic.h"

using CPluginReader = CZoltePic;

#pragma once
#include "MirelRec.h"

using CPluginReader = CMirelRec;

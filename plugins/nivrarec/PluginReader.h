#pragma once
#include "NivraRec.h"

using CPluginReader = CNivraRec;

#pragma once
#include "KvoraRec.h"

using CPluginReader = CKvoraRec;

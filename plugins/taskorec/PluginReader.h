#pragma once
#include "TaskoRec.h"

using CPluginReader = CTaskoRec;

#pragma once
// The test plug-in describes itself as the game whose reader it wraps.
#include "plugins/kvorarec/Description.h"

#pragma once
// What tarvik-solve needs to run ".tip" models: one run of a model text.
#include "modules/ip/miprun.h"

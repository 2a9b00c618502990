#include "modules/ip/mipsolver.h"
#include <gtest/gtest.h>

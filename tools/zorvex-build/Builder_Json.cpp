#include "zorvex-build/Builder_Json.h"

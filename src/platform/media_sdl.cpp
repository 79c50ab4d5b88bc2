// placeholder until the platform work lands
#include "platform/platform.h"

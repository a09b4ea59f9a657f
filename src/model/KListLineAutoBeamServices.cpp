#include "model/KListLineAutoBeamServices.h"

int g_warnBarTiming = 0;

void ResetAutoBeamServices() { g_warnBarTiming = 0; }

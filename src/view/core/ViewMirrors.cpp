#include "view/core/ViewMirrors.h"

KViewMirrors g_viewMirrors;

void ResetViewMirrors() { g_viewMirrors = KViewMirrors(); }

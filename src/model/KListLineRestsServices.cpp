#include "model/KListLineRestsServices.h"

int g_liveShortestNote = 1;

void ResetRestsServices() { g_liveShortestNote = 1; }

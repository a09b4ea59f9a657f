#pragma once
// Registers the runtime classes of the score object model, so that an archive
// can re-create its objects by their stored class names. Anything that reads
// score data calls it once before the first load; calling it again is harmless.

void RegisterModelClasses();

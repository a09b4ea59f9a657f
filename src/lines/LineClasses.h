#pragma once
// Registers every serialisable class of a score — the score objects and the
// concrete line kinds — so that the archive can create them by the class names
// stored in score files. Call once before the first score is read; calling it
// again does nothing.
void RegisterLineClasses();

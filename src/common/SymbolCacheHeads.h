#pragma once
// The current note-head slots of the symbol cache (SymbolCache.h): which head
// triple entry each slot shows, so that a slot whose picture was freed with the
// print set is loaded again when it is next drawn.

class CBitmap;

// The picture of head slot 0..8, loaded again if it was freed; null when the
// slot was never set or its picture cannot be loaded.
CBitmap* LoadedHeadSlot(int slot);
// Empties the slots (tests).
void ResetHeadSlots();

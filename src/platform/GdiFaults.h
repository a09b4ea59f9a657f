#pragma once
// Injected creation failures for drawing objects and memory device contexts.
// Creating a pen, brush, font, bitmap, region or memory device context can fail
// (the program reports it and carries on); tests make the next creations of a
// kind fail to drive those paths.

enum class GdiResource { Pen, Brush, Font, Bitmap, Region, MemoryDC };

// The next `count` creations of `kind` fail.
void FailNextGdiCreations(GdiResource kind, int count = 1);
// The next `goodOnes` creations of `kind` succeed and the one after fails.
void FailGdiCreationAfter(GdiResource kind, int goodOnes);
// Clears every pending failure.
void ResetGdiFaults();
// Called by the creating code: true (and one pending failure used up) when this creation must fail.
bool TakeGdiFault(GdiResource kind);

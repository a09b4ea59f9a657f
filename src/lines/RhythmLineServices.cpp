#include "lines/RhythmLineServices.h"

#include "common/ViewServices.h"
#include "platform/CDC.h"
#include "platform/RecordingDC.h"

namespace {
CDC* g_registeredMeasureDC = nullptr;

// A context that only measures: its call log is emptied at every fetch so that
// it never grows.
RecordingDC& BuiltInMeasureDC() {
  static RecordingDC dc;
  dc.Clear();
  return dc;
}
}  // namespace

CDC* RhythmMeasureDC() {
  if (g_layoutDC != nullptr) return g_layoutDC;
  if (g_registeredMeasureDC != nullptr) return g_registeredMeasureDC;
  return &BuiltInMeasureDC();
}

void SetRhythmMeasureDC(CDC* dc) { g_registeredMeasureDC = dc; }

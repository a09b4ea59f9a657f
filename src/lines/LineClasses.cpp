#include "lines/LineClasses.h"

#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/ModelClasses.h"

void RegisterLineClasses() {
  RegisterModelClasses();
  CRuntimeClass::Register({RUNTIME_CLASS(KTabLine), RUNTIME_CLASS(KStaffLine), RUNTIME_CLASS(KStrLine),
                           RUNTIME_CLASS(KChordPicLine), RUNTIME_CLASS(KRhythmLine)});
}

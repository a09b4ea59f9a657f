#include "model/ModelClasses.h"

#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "model/KPosObj.h"
#include "model/KRhythmObj.h"

void RegisterModelClasses() {
  CRuntimeClass::Register({RUNTIME_CLASS(KPosObj), RUNTIME_CLASS(KChord), RUNTIME_CLASS(KChordPic),
                           RUNTIME_CLASS(KExtendedObj), RUNTIME_CLASS(KRhythmObj), RUNTIME_CLASS(KLineGroup),
                           RUNTIME_CLASS(KLineObj), RUNTIME_CLASS(KListLine)});
}

#include "model/ModelClasses.h"

#include "model/KChord.h"
#include "model/KPosObj.h"

void RegisterModelClasses() { CRuntimeClass::Register({RUNTIME_CLASS(KPosObj), RUNTIME_CLASS(KChord)}); }

#include "model/KJTObj.h"

// A working record only: nothing goes to or comes from an archive.
void KJTObj::Serialize(CArchive&) {}

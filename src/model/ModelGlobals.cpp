#include "model/ModelGlobals.h"

#include <stdexcept>

#include "common/Globals.h"
#include "platform/CArchive.h"
#include "platform/UiPort.h"

int g_newerFileWarned = 0;
int g_loadMarker = 0;

namespace {
constexpr UINT kNewerFileMessage = 7089;
}

void WarnNewerFileOnce() {
  if (g_newerFileWarned) return;
  AfxFormatString2(g_MessageText, kNewerFileMessage, g_FileVersionText, g_ProgramVersionText);
  AfxMessageBox(g_MessageText, MB_OK);
  g_newerFileWarned = 1;
}

BYTE ReadByteAfterExtension(CArchive& ar, std::span<BYTE> known, int* knownCount) {
  int kept = 0;
  BYTE byte = 0;
  ar >> byte;
  if (byte == kExtensionMarker) {
    BYTE count = 0;
    ar >> count;
    const int keep = count < known.size() ? count : static_cast<int>(known.size());
    for (; kept < keep; ++kept) ar >> known[kept];
    if (count > kept) {
      WarnNewerFileOnce();
      for (int i = kept; i < count; ++i) ar >> byte;
    }
    ar >> byte;
  }
  if (knownCount) *knownCount = kept;
  return byte;
}

void WriteExtensionBlock(CArchive& ar, std::span<const BYTE> bytes) {
  if (bytes.size() > 255) throw std::length_error("extension block longer than 255 bytes");
  ar << kExtensionMarker << static_cast<BYTE>(bytes.size());
  for (BYTE b : bytes) ar << b;
}

void ResetModelGlobals() {
  g_newerFileWarned = 0;
  g_loadMarker = 0;
}

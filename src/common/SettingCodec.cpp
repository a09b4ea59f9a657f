#include "common/SettingCodec.h"

#include "common/NumberText.h"

int ParseTripleFlag(const CString& text) {
  int numbers[3] = {0, 0, 0};
  ScanCommaIntegers(text.View(), numbers);
  return numbers[2] != 0 ? 1 : 0;
}

int ParseFiveValueLimit(const CString& text) {
  int numbers[5] = {0, 0, 0, 0, 0};
  ScanCommaIntegers(text.View(), numbers);
  return numbers[4] >= 600 ? 1 : 0;
}

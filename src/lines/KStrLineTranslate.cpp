// Translation of a text line into other line kinds: a staff read from ABC
// notation (only while the "From ABC Notation" command runs), a rhythm line
// holding the text, or a chord-diagram line of the chord names in the text.

#include <string_view>

#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KRhythmObj.h"

namespace {

constexpr int kTrebleStaff = 0;
constexpr int kChordLine = 4;

// The characters an ABC tune body may begin with.
constexpr std::string_view kAbcStart = " ABCDEFGabcdefg,'0123456789|][:/><.()~uv{}z\\=^";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::unique_ptr<KLineObj> KStrLine::TranslateTo(int source, int kind, int, int, int, CString fontText, int) {
  switch (kind) {
    case kTrebleStaff: {
      if (g_abcTranslating == 0) return nullptr;
      const std::string_view text = Trimmed(m_text.View());
      if (text.empty() || kAbcStart.find(text.front()) == std::string_view::npos) return nullptr;
      return ReadAbc(*this, 0);
    }
    case KRhythmLine::kKind:
      return ConvertToRhythm(fontText);
    case kChordLine:
      return RecognizeChordNames(*this, source, 0);
    default:
      return nullptr;
  }
}

std::unique_ptr<KLineObj> KStrLine::ConvertToRhythm(const CString& fontText) const {
  auto line = std::make_unique<KRhythmLine>();
  line->SetFont(fontText);
  line->GetObjList()->AddTail(new KRhythmObj(0, m_text));
  return line;
}

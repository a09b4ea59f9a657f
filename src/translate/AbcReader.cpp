#include "translate/AbcReader.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KLineObj.h"
#include "platform/StringTable.h"
#include "translate/AbcReaderMusic.h"
#include "translate/AbcReaderState.h"

namespace {

// A text line holding the prefix (a string-table text, 0 for none) and the value.
std::unique_ptr<KLineObj> TextLine(UINT prefixId, const CString& value) {
  CString text = prefixId != 0 ? LoadString(prefixId) : CString();
  text += value;
  return std::make_unique<KStrLine>(text, 0);
}

std::unique_ptr<KLineObj> ReadHeaderField(char letter, const CString& value) {
  switch (letter) {
    case 'A':
      return TextLine(8138, value);
    case 'B':
      return TextLine(8139, value);
    case 'C':
      return TextLine(8140, value);
    case 'D':
      return TextLine(8141, value);
    case 'F':
      return TextLine(8142, value);
    case 'G':
      return TextLine(8143, value);
    case 'H':
    case 'I':
    case 'N':
    case 'W':
      return TextLine(0, value);
    case 'O':
      return TextLine(8144, value);
    case 'P':
      return TextLine(value.GetLength() > 1 ? 8145 : 8146, value);
    case 'R':
      return TextLine(8147, value);
    case 'S':
      return TextLine(8148, value);
    case 'Z':
      return TextLine(8151, value);
    case 'T': {
      // Leading blanks centre the title in the text font's width.
      const int blanks = std::max(0, (760 - 9 * value.GetLength()) / 10);
      GetAbcReaderState().titlePending = true;
      CString text = blanks > 0 ? CString(' ', blanks) : CString();
      text += value;
      return std::make_unique<KStrLine>(text, 0);
    }
    case 'X':
      // A new tune starts from the reader's start values; a line the last
      // tune left open by continuation comes out here.
      {
        std::unique_ptr<KStaffLine> open = TakeContinuedAbcLine();
        StartAbcTune();
        return open;
      }
    case 'K':
      ReadAbcKeyField(value);
      return nullptr;
    case 'L':
      ReadAbcUnitLengthField(value);
      return nullptr;
    case 'M':
      ReadAbcMeterField(value);
      return nullptr;
    case 'Q':
      ReadAbcTempoField(value);
      return nullptr;
    default:
      return nullptr;
  }
}

// The fields whose value is text: a value ending in "\" goes on in the next
// line, and a "+:" line adds to the value.
bool IsTextField(char letter) {
  return letter != 0 && std::string_view("ABCDFGHINORSTWZ").find(letter) != std::string_view::npos;
}

bool IsFieldLine(const CString& text) {
  return text.GetLength() >= 2 && text[1] == ':' && text[0] != '|' && text[0] != ':';
}

// A text field's value: a "\" at its end is taken off and says the next line
// continues the field.
std::unique_ptr<KLineObj> ReadTextFieldValue(char letter, CString value) {
  AbcReaderState& state = GetAbcReaderState();
  state.lastField = letter;
  CString trimmed = value;
  trimmed.TrimRight(" \t");
  if (!trimmed.IsEmpty() && trimmed[trimmed.GetLength() - 1] == '\\') {
    value = trimmed.Left(trimmed.GetLength() - 1);
    value.TrimRight(" \t");
    state.fieldContinued = letter;
  }
  return ReadHeaderField(letter, value);
}

}  // namespace

bool HasAbcTuneHeader(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos) {
      line.remove_prefix(first);
      if (line.size() >= 2 && (line[0] == 'X' || line[0] == 'K') && line[1] == ':') return true;
    }
    start = end + 1;
  }
  return false;
}

std::unique_ptr<KLineObj> ReadAbcLine(const CString& source, int continuation) {
  AbcReaderState& state = GetAbcReaderState();
  // A "%%begin..." block (PostScript, text, SVG for a typesetter) holds no
  // music up to its "%%end..." line.
  {
    std::string_view raw = source.View();
    while (!raw.empty() && (raw.front() == ' ' || raw.front() == '\t')) raw.remove_prefix(1);
    if (state.inBlock) {
      if (raw.substr(0, 5) == "%%end") state.inBlock = false;
      return nullptr;
    }
    if (raw.substr(0, 7) == "%%begin") {
      state.inBlock = true;
      return nullptr;
    }
  }
  CString text = source;
  if (const int comment = text.Find('%'); comment >= 0) text = text.Left(comment);
  text.TrimLeft(" \t\r\n");
  text.TrimRight(" \t\r\n");
  // The line after a text field that ended in "\" goes on with that field,
  // unless it is a field of its own.
  if (const char continued = state.fieldContinued; continued != 0) {
    state.fieldContinued = 0;
    if (!text.IsEmpty() && !IsFieldLine(text)) return ReadTextFieldValue(continued, text);
  }
  if (text.IsEmpty() || text[0] == '\\') return nullptr;
  if (IsFieldLine(text)) {
    const char letter = text[0];
    if (letter == '+') {
      return IsTextField(state.lastField) ? ReadTextFieldValue(state.lastField, text.Mid(2)) : nullptr;
    }
    if (IsTextField(letter)) return ReadTextFieldValue(letter, text.Mid(2));
    state.lastField = 0;
    return ReadHeaderField(letter, text.Mid(2));
  }
  return ReadAbcMusicLine(text, continuation);
}

AbcLengthCode AbcNoteCodeForLength(int ticks) {
  // The note values from the breve down, longest first; a length takes the
  // longest value it reaches (its dots make up the rest).
  static constexpr int kCodes[] = {KChord::kBreve, 12, 10, 8, 0, 2, 4, 6};
  for (const int code : kCodes) {
    if (ticks >= NoteCodeTicks(code)) return {code, NoteCodeTicks(code)};
  }
  return {-1, 0};
}

int AbcRestCodeForLength(int ticks) {
  // The rests from the whole (14) down to the 64th (20).
  for (int code = 14; code <= 20; ++code) {
    if (ticks >= NoteCodeTicks(code)) return code;
  }
  return -1;
}

int AbcRowOfPitch(int pitch) {
  static constexpr int kRows[12] = {-8, -9, -9, -10, -11, -11, -12, -12, -13, -14, -14, -8};
  const int mod = ((pitch % 12) + 12) % 12;
  return kRows[mod] + 7 * ((82 - pitch) / 12 + 2);
}

#include "view/edit/ClipStream.h"

#include "model/KLineObj.h"

namespace {

// Limits a stream must keep. They are wide enough for every stream the
// program writes and narrow enough that a foreign block is caught early.
constexpr int kMaxColumn = 32000;  // columns and positions, 0..32000
constexpr int kMaxEntries = 20;    // entries of one note column
constexpr int kMaxAttachmentKind = 24;
constexpr int kMaxBracket = 4;
constexpr int kLogFontBytes = 60;
constexpr int kMaxTypeList = 20;

// Reads words one at a time and fails, instead of reading past the end, when
// the stream runs out.
class WordReader {
 public:
  explicit WordReader(const std::vector<std::int16_t>& words) : m_words(words) {}

  bool Next(int& value) {
    if (m_at >= m_words.size()) return Fail("the stream ends early");
    value = m_words[m_at++];
    return true;
  }
  bool Peek(int& value) const {
    if (m_at >= m_words.size()) return false;
    value = m_words[m_at];
    return true;
  }
  bool InRange(int& value, int low, int high, const char* what) {
    if (!Next(value)) return false;
    if (value < low || value > high) return Fail(std::string(what) + " out of range");
    return true;
  }
  bool Expect(int marker, const char* what) {
    int value = 0;
    if (!Next(value)) return false;
    if (value != marker) return Fail(std::string("missing ") + what);
    return true;
  }
  bool Text(CString& text) {
    int length = 0;
    if (!Next(length)) return false;
    if (length < 0) return Fail("negative text length");
    if (static_cast<size_t>(length) > Remaining()) return Fail("text longer than the stream");
    std::string bytes;
    bytes.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
      int ch = 0;
      if (!Char(ch)) return false;
      bytes.push_back(static_cast<char>(ch));
    }
    text = CString(std::string_view(bytes));
    return true;
  }
  // One character word: a byte sign-extended (-128..255 accepted).
  bool Char(int& ch) {
    if (!Next(ch)) return false;
    if (ch < -128 || ch > 255) return Fail("character out of range");
    ch &= 0xFF;
    return true;
  }
  size_t Remaining() const { return m_words.size() - m_at; }
  bool Fail(std::string reason) {
    if (m_error.empty()) m_error = std::move(reason);
    return false;
  }
  const std::string& Error() const { return m_error; }

 private:
  const std::vector<std::int16_t>& m_words;
  size_t m_at = 0;
  std::string m_error;
};

bool ReadAttachment(WordReader& in, ClipAttachment& a) {
  return in.InRange(a.column, 0, kMaxColumn, "attachment column") && in.Next(a.row) &&
         in.InRange(a.kind, 0, kMaxAttachmentKind, "attachment kind") && in.Next(a.anchorX) &&
         in.Next(a.anchorY) && in.Next(a.sizeX) && in.Next(a.sizeY) && in.Next(a.offsetX) &&
         in.Next(a.offsetY) && in.Next(a.point0X) && in.Next(a.point0Y) && in.Next(a.point1X) &&
         in.Next(a.point1Y) && in.Text(a.text) && in.Text(a.fontText) &&
         in.InRange(a.bold, 0, 1, "bold flag") && in.Text(a.linkTarget) && in.Next(a.visited);
}

void WriteAttachment(KClipStream& out, const ClipAttachment& a) {
  for (int v : {a.column, a.row, a.kind, a.anchorX, a.anchorY, a.sizeX, a.sizeY, a.offsetX, a.offsetY,
                a.point0X, a.point0Y, a.point1X, a.point1Y})
    out.Put(v);
  out.PutText(a.text);
  out.PutText(a.fontText);
  out.Put(a.bold);
  out.PutText(a.linkTarget);
  out.Put(a.visited);
}

// Reads records until the end marker; the first word of a record (a column
// or position) must be in range, which also keeps a stray marker from being
// taken for a record.
template <typename Record, typename ReadOne>
bool ReadList(WordReader& in, int endMarker, std::vector<Record>& list, ReadOne readOne) {
  for (;;) {
    int first = 0;
    if (!in.Peek(first)) return in.Fail("the stream ends early");
    if (first == endMarker) {
      int skip = 0;
      return in.Next(skip);
    }
    Record record;
    if (!readOne(record)) return false;
    list.push_back(std::move(record));
  }
}

bool ReadColumn(WordReader& in, ClipColumn& c) {
  int count = 0;
  if (!in.InRange(c.column, 0, kMaxColumn, "column") || !in.Next(c.rhythm) ||
      !in.InRange(count, 0, kMaxEntries, "entry count") || !in.Next(c.stem0) || !in.Next(c.stem1))
    return false;
  for (int i = 0; i < count; ++i) {
    int first = 0;
    int second = 0;
    if (!in.Next(first) || !in.Next(second)) return false;
    c.entries.emplace_back(first & 0xFFFF, second & 0xFFFF);
  }
  return true;
}

bool ReadSymbol(WordReader& in, ClipRhythmSymbol& s) {
  return in.InRange(s.position, 0, kMaxColumn, "symbol position") && in.Next(s.code) && in.Next(s.link) &&
         in.Text(s.text);
}

bool ReadDiagram(WordReader& in, ClipDiagram& d) {
  return in.InRange(d.column, 0, kMaxColumn, "diagram column") && in.Next(d.number) && in.Text(d.name) &&
         in.Text(d.shape) && in.Next(d.value);
}

bool ReadBody(WordReader& in, ClipLine& line) {
  switch (line.family) {
    case ClipFamily::kStaff:
      if (!in.Next(line.bodyType) || !in.Next(line.key) || !in.Next(line.spaceAbove) ||
          !in.Next(line.spaceBelow) || !in.Next(line.base))
        return false;
      if (KLineObj::FamilyOf(line.bodyType) != ClipFamily::kStaff) return in.Fail("staff type out of range");
      return ReadList(in, ClipMark::kEndObjects, line.columns,
                      [&in](ClipColumn& c) { return ReadColumn(in, c); });
    case ClipFamily::kTab:
      return in.Next(line.key) && in.Next(line.spaceAbove) && in.Next(line.spaceBelow) &&
             in.Text(line.tuning) && in.Next(line.base) &&
             ReadList(in, ClipMark::kEndObjects, line.columns,
                      [&in](ClipColumn& c) { return ReadColumn(in, c); });
    case ClipFamily::kRhythm:
      return in.Next(line.key) && in.Next(line.base) && in.Text(line.fontText) &&
             ReadList(in, ClipMark::kEndObjects, line.symbols,
                      [&in](ClipRhythmSymbol& s) { return ReadSymbol(in, s); });
    case ClipFamily::kChord:
      return in.Next(line.key) && in.Text(line.tuning) && in.Next(line.widthPercent) &&
             in.Next(line.heightPercent) && in.Next(line.base) && in.Text(line.fontText) &&
             ReadList(in, ClipMark::kEndObjects, line.diagrams,
                      [&in](ClipDiagram& d) { return ReadDiagram(in, d); });
    case ClipFamily::kText: {
      int bytes = 0;
      if (!in.InRange(bytes, kLogFontBytes, kLogFontBytes, "font size")) return false;
      for (int i = 0; i < kLogFontBytes / 2; ++i) {
        int word = 0;
        if (!in.Next(word)) return false;
        line.logFont[static_cast<size_t>(2 * i)] = static_cast<BYTE>(word & 0xFF);
        line.logFont[static_cast<size_t>(2 * i + 1)] = static_cast<BYTE>((word >> 8) & 0xFF);
      }
      if (!in.Next(line.base)) return false;
      std::string text;
      for (;;) {
        int word = 0;
        if (!in.Next(word)) return false;
        if (word == ClipMark::kEndText) break;
        if (word < -128 || word > 255) return in.Fail("character out of range");
        text.push_back(static_cast<char>(word & 0xFF));
      }
      line.text = CString(std::string_view(text));
      return true;
    }
    default:
      return in.Fail("unknown line family");
  }
}

bool ReadLine(WordReader& in, ClipLine& line) {
  if (!in.Next(line.family) || !in.InRange(line.type, 0, KLineObj::kKindCount - 1, "line type")) return false;
  if (KLineObj::FamilyOf(line.type) != line.family) return in.Fail("line type does not match its family");
  if (!in.Next(line.staffLength) || !in.Next(line.indent) ||
      !in.InRange(line.groupId, -1, 32767, "group id") ||
      !in.InRange(line.bracket, 0, kMaxBracket, "bracket") || !in.Text(line.label) ||
      !in.Next(line.flagsLow) || !in.Next(line.flagsHigh))
    return false;
  line.flagsLow &= 0xFFFF;
  line.flagsHigh &= 0xFFFF;
  if (!ReadBody(in, line)) return false;
  if (line.family == ClipFamily::kText) return true;
  return ReadList(in, ClipMark::kEndAttachments, line.attachments,
                  [&in](ClipAttachment& a) { return ReadAttachment(in, a); });
}

void WriteBody(KClipStream& out, const ClipLine& line) {
  switch (line.family) {
    case ClipFamily::kStaff:
    case ClipFamily::kTab:
      if (line.family == ClipFamily::kStaff) {
        for (int v : {line.bodyType, line.key, line.spaceAbove, line.spaceBelow}) out.Put(v);
      } else {
        for (int v : {line.key, line.spaceAbove, line.spaceBelow}) out.Put(v);
        out.PutText(line.tuning);
      }
      out.Put(line.base);
      for (const ClipColumn& c : line.columns) {
        for (int v : {c.column, c.rhythm, static_cast<int>(c.entries.size()), c.stem0, c.stem1}) out.Put(v);
        for (const auto& [first, second] : c.entries) {
          out.Put(first);
          out.Put(second);
        }
      }
      out.Put(ClipMark::kEndObjects);
      break;
    case ClipFamily::kRhythm:
      out.Put(line.key);
      out.Put(line.base);
      out.PutText(line.fontText);
      for (const ClipRhythmSymbol& s : line.symbols) {
        for (int v : {s.position, s.code, s.link}) out.Put(v);
        out.PutText(s.text);
      }
      out.Put(ClipMark::kEndObjects);
      break;
    case ClipFamily::kChord:
      out.Put(line.key);
      out.PutText(line.tuning);
      for (int v : {line.widthPercent, line.heightPercent, line.base}) out.Put(v);
      out.PutText(line.fontText);
      for (const ClipDiagram& d : line.diagrams) {
        out.Put(d.column);
        out.Put(d.number);
        out.PutText(d.name);
        out.PutText(d.shape);
        out.Put(d.value);
      }
      out.Put(ClipMark::kEndObjects);
      break;
    case ClipFamily::kText:
      out.Put(kLogFontBytes);
      for (int i = 0; i < kLogFontBytes / 2; ++i)
        out.Put(line.logFont[static_cast<size_t>(2 * i)] |
                (line.logFont[static_cast<size_t>(2 * i + 1)] << 8));
      out.Put(line.base);
      for (char ch : line.text.View()) out.Put(static_cast<signed char>(ch));
      out.Put(ClipMark::kEndText);
      break;
    default:
      break;
  }
}

}  // namespace

void KClipStream::PutText(const CString& text) {
  Put(text.GetLength());
  for (char ch : text.View()) Put(static_cast<signed char>(ch));
}

std::vector<BYTE> KClipStream::ToBytes() const {
  std::vector<BYTE> bytes;
  bytes.reserve(m_words.size() * 2);
  for (std::int16_t word : m_words) {
    const auto bits = static_cast<std::uint16_t>(word);
    bytes.push_back(static_cast<BYTE>(bits & 0xFF));
    bytes.push_back(static_cast<BYTE>(bits >> 8));
  }
  return bytes;
}

KClipStream KClipStream::FromBytes(std::span<const BYTE> bytes) {
  std::vector<std::int16_t> words;
  words.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    words.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8))));
  return KClipStream(std::move(words));
}

bool IsClipLineType(int type) { return KLineObj::FamilyOf(type) != KLineObj::kNoFamily; }

int ClipFamilyOfType(int type) { return KLineObj::FamilyOf(type); }

KClipStream WriteClipStream(const KClipData& data) {
  KClipStream out;
  if (data.isAttachment) {
    out.Put(ClipMark::kAttachment);
    WriteAttachment(out, data.attachment);
    out.Put(ClipMark::kEndAttachments);
    out.Put(ClipMark::kEndStream);
    return out;
  }
  out.Put(data.leftX);
  out.Put(data.rightX);
  out.Put(static_cast<int>(data.lines.size()));
  for (int type : data.types) out.Put(type);
  out.Put(data.firstColumn);
  out.Put(data.lastColumn);
  for (const ClipLine& line : data.lines) {
    for (int v : {line.family, line.type, line.staffLength, line.indent, line.groupId, line.bracket})
      out.Put(v);
    out.PutText(line.label);
    out.Put(line.flagsLow);
    out.Put(line.flagsHigh);
    WriteBody(out, line);
    if (line.family != ClipFamily::kText) {
      for (const ClipAttachment& a : line.attachments) WriteAttachment(out, a);
      out.Put(ClipMark::kEndAttachments);
    }
  }
  out.Put(ClipMark::kEndStream);
  return out;
}

std::optional<KClipData> ReadClipStream(const KClipStream& stream, std::string* error) {
  WordReader in(stream.Words());
  KClipData data;
  const auto failed = [&]() -> std::optional<KClipData> {
    if (error) *error = in.Error().empty() ? std::string("damaged stream") : in.Error();
    return std::nullopt;
  };
  int first = 0;
  if (!in.Peek(first)) {
    in.Fail("empty stream");
    return failed();
  }
  if (first == ClipMark::kAttachment) {
    int skip = 0;
    data.isAttachment = true;
    if (!in.Next(skip) || !ReadAttachment(in, data.attachment) ||
        !in.Expect(ClipMark::kEndAttachments, "end of attachments") ||
        !in.Expect(ClipMark::kEndStream, "end of stream"))
      return failed();
    return data;
  }
  int count = 0;
  if (!in.Next(data.leftX) || !in.Next(data.rightX) || !in.InRange(count, 1, 32767, "line count"))
    return failed();
  // Every line record takes at least 11 words: a count beyond that is false.
  if (static_cast<size_t>(count) > in.Remaining() / 11) {
    in.Fail("line count larger than the stream");
    return failed();
  }
  if (data.leftX > 0 && count >= 2 && count <= kMaxTypeList) {
    for (int i = 0; i < count; ++i) {
      int type = 0;
      if (!in.InRange(type, 0, KLineObj::kKindCount - 1, "line type")) return failed();
      data.types.push_back(type);
    }
  }
  if (!in.Next(data.firstColumn) || !in.Next(data.lastColumn)) return failed();
  for (int i = 0; i < count; ++i) {
    ClipLine line;
    if (!ReadLine(in, line)) return failed();
    data.lines.push_back(std::move(line));
  }
  if (!in.Expect(ClipMark::kEndStream, "end of stream")) return failed();
  return data;
}

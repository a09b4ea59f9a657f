#pragma once
// The clipboard word stream: the program's private clipboard format
// ("Stavlin") and the form of every undo snapshot. A stream is a run of
// signed 16-bit words, stored little-endian when it leaves the program.
//
// Two forms:
//   attachment stream: 32767, one attachment record, 32704, 32705
//   line stream:       left x, right x, line count L, [L line types when
//                      left x > 0 and 2 <= L <= 20], first column, last
//                      column, L line records, 32705
// A text item is a length word n and n words, one per character (the byte
// sign-extended). A line record is a header (family, type, staff length,
// indent, group id, bracket, label, flag word low and high), the family's
// body with its objects ended by 32702 (text lines: characters ended by
// 32700), and, for every family but text, attachment records ended by 32704.
//
// KClipData is the stream decoded into plain records. The copy engine fills
// one and writes it (WriteClipStream); the paste engine reads a stream into
// one (ReadClipStream), which checks the whole stream before anything uses
// it, so a damaged or foreign stream is refused whole.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

// The stream's markers.
namespace ClipMark {
constexpr int kAttachment = 32767;  // opens an attachment stream
constexpr int kEndObjects = 32702;  // ends the object list of a line
constexpr int kEndText = 32700;     // ends the characters of a text line
constexpr int kEndAttachments = 32704;
constexpr int kEndStream = 32705;
}  // namespace ClipMark

// Line families as the stream writes them.
namespace ClipFamily {
constexpr int kStaff = 0;
constexpr int kTab = 2;
constexpr int kRhythm = 3;
constexpr int kChord = 4;
constexpr int kText = 5;
}  // namespace ClipFamily

// The word buffer: what the clipboard and the undo records hold.
class KClipStream {
 public:
  KClipStream() = default;
  explicit KClipStream(std::vector<std::int16_t> words) : m_words(std::move(words)) {}

  const std::vector<std::int16_t>& Words() const { return m_words; }
  std::vector<std::int16_t>& Words() { return m_words; }
  int Size() const { return static_cast<int>(m_words.size()); }
  bool IsEmpty() const { return m_words.empty(); }

  // Appends the low 16 bits of the value; the buffer grows as needed.
  void Put(int value) {
    m_words.push_back(static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF)));
  }
  // A text item: the length and one sign-extended byte per word.
  void PutText(const CString& text);

  // Little-endian bytes, two per word.
  std::vector<BYTE> ToBytes() const;
  // Words from little-endian bytes; an odd final byte is ignored (a block
  // rounded up by another program's allocator carries no meaning there).
  static KClipStream FromBytes(std::span<const BYTE> bytes);

  bool operator==(const KClipStream& other) const = default;

 private:
  std::vector<std::int16_t> m_words;
};

// An attachment (KExtendedObj) as the stream carries it.
struct ClipAttachment {
  int column = 0;
  int row = 0;
  int kind = 0;
  int anchorX = 0, anchorY = 0;
  int sizeX = 0, sizeY = 0;
  int offsetX = 0, offsetY = 0;
  int point0X = 0, point0Y = 0;
  int point1X = 0, point1Y = 0;
  CString text;
  CString fontText;
  int bold = 0;
  CString linkTarget;
  int visited = 0;
  bool operator==(const ClipAttachment&) const = default;
};

// A note column of a staff or tablature line.
struct ClipColumn {
  int column = 0;
  int rhythm = 0;  // staff: the note style; tablature: the whole rhythm code
  int stem0 = 0;   // stem words (0..6 as they are; 30/31, negated when downward)
  int stem1 = 0;
  std::vector<std::pair<int, int>> entries;  // the two entry words, low 16 bits each
  bool operator==(const ClipColumn&) const = default;
};

// A rhythm-line symbol: its pixel position, code, link code and text.
struct ClipRhythmSymbol {
  int position = 0;
  int code = 0;
  int link = 0;
  CString text;
  bool operator==(const ClipRhythmSymbol&) const = default;
};

// A chord diagram.
struct ClipDiagram {
  int column = 0;
  int number = 0;  // the diagram's constructor integer (variation number)
  CString name;
  CString shape;
  int value = 0;  // fingering number
  bool operator==(const ClipDiagram&) const = default;
};

// One line record. Only the fields of the line's family are written.
struct ClipLine {
  // header
  int family = 0;
  int type = 0;
  int staffLength = 0;
  int indent = 0;
  int groupId = -1;
  int bracket = 0;
  CString label;
  int flagsLow = 0;  // flag word, low and high 16 bits
  int flagsHigh = 0;
  // family body
  int bodyType = 0;    // staff: the line type code
  int key = 0;         // key signature at column 0 (not on text lines)
  int spaceAbove = 0;  // staff, tablature
  int spaceBelow = 0;
  CString tuning;        // tablature, chord diagrams (empty: the default)
  int widthPercent = 0;  // chord diagrams
  int heightPercent = 0;
  int base = 0;                    // first column written (text: start x)
  CString fontText;                // rhythm: font text; chord diagrams: name font
  std::array<BYTE, 60> logFont{};  // text: the line's LOGFONT bytes
  CString text;                    // text: the characters
  std::vector<ClipColumn> columns;
  std::vector<ClipRhythmSymbol> symbols;
  std::vector<ClipDiagram> diagrams;
  std::vector<ClipAttachment> attachments;  // every family but text

  DWORD Flags() const {
    return (static_cast<DWORD>(flagsLow) & 0xFFFF) | ((static_cast<DWORD>(flagsHigh) & 0xFFFF) << 16);
  }
  bool operator==(const ClipLine&) const = default;
};

// A whole stream, decoded.
struct KClipData {
  bool isAttachment = false;  // form A: one attachment
  ClipAttachment attachment;
  // form B
  int leftX = 0;
  int rightX = 0;
  std::vector<int> types;  // present when left x > 0 and 2 <= lines <= 20
  int firstColumn = 0;
  int lastColumn = 0;
  std::vector<ClipLine> lines;
  bool operator==(const KClipData&) const = default;
};

// Writes the data as a stream (values written as their low 16 bits).
KClipStream WriteClipStream(const KClipData& data);

// Reads and checks a whole stream. Nothing (and the reason in error, when
// given) for a stream that is truncated, has a negative or oversized count
// or length, an unknown family or type, a value out of its range, or no end
// marker.
std::optional<KClipData> ReadClipStream(const KClipStream& stream, std::string* error = nullptr);

// Whether a line type code exists (0..5, 9..16), and the family of one.
bool IsClipLineType(int type);
int ClipFamilyOfType(int type);

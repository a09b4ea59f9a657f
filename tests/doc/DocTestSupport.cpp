#include "DocTestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/ResetProgramGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineDefaults.h"
#include "model/DocServices.h"
#include "model/LineServices.h"
#include "model/ModelClasses.h"
#include "model/ModelGlobals.h"

IMPLEMENT_SERIAL(KDocTestLine, KLineObj, 90);

void KDocTestLine::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    if (failToStore) AfxThrowArchiveException(CArchiveException::generic);
    ar << type << fontNumber << text << colour << GetGroupId();
  } else {
    int group = kNoGroup;
    ar >> type >> fontNumber >> text >> colour >> group;
    SetType(type);
    SetGroup(group, nullptr);
    if (colour != 0) g_coloredText = 1;
  }
}

namespace {

KDocTestLine* AsTestLine(KLineObj& line) { return dynamic_cast<KDocTestLine*>(&line); }
const KDocTestLine* AsTestLine(const KLineObj& line) { return dynamic_cast<const KDocTestLine*>(&line); }

}  // namespace

KDocLineHooks TestLineHooks() {
  KDocLineHooks hooks;
  hooks.textFontNumber = [](const KLineObj& object) {
    const KDocTestLine* line = AsTestLine(object);
    return line != nullptr && line->type == 5 ? int{line->fontNumber} : 0;
  };
  hooks.newTextLine = []() -> KLineObj* { return new KDocTestLine(5, 0, ""); };
  hooks.lineText = [](const KLineObj& object) {
    const KDocTestLine* line = AsTestLine(object);
    return line != nullptr ? line->text : CString();
  };
  hooks.setLineText = [](KLineObj& object, const CString& text) {
    if (KDocTestLine* line = AsTestLine(object)) line->text = text;
  };
  return hooks;
}

// ---- Container ---------------------------------------------------------------------------

KContainerRead KTestContainer::Read(const std::filesystem::path& path) const {
  KContainerRead result = real_.Read(path);
  if (result.ok() && reportItems) result.hasEmbeddedItems = true;
  return result;
}

KContainerWrite KTestContainer::Write(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> contents) const {
  if (failWrites) return {KContainerError::kWriteFailed, "the disk is full"};
  return real_.Write(path, contents);
}

// ---- Hand-built files ----------------------------------------------------------------

void AppendDword(std::vector<BYTE>& out, DWORD value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

void AppendLogFont(std::vector<BYTE>& out, const LOGFONT& font) {
  for (LONG value : {font.lfHeight, font.lfWidth, font.lfEscapement, font.lfOrientation, font.lfWeight})
    AppendDword(out, static_cast<DWORD>(value));
  for (BYTE value : {font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision,
                     font.lfClipPrecision, font.lfQuality, font.lfPitchAndFamily})
    out.push_back(value);
  out.insert(out.end(), font.lfFaceName, font.lfFaceName + LF_FACESIZE);
}

std::vector<BYTE> BuildScoreFile(const KHandBuiltScore& f) {
  const long long v = f.version;
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    const auto text = [&](const std::string& s) { ar << CString(s.c_str()); };
    if (v <= 90) {
      ar << static_cast<BYTE>(v) << DWORD{0};
    } else {
      ar << static_cast<BYTE>(v / 100) << static_cast<DWORD>(v);
    }
    ar << DWORD{0} << DWORD{0};
    for (WORD w : f.words) ar << w;
    for (BYTE b : f.bytes1) ar << b;
    for (BYTE b : f.showFlags) ar << b;
    for (BYTE b : f.bytes2) ar << b;
    text(f.tuning);
    text(f.bassTuning);
    text(f.pageNumberingText);
    if (v >= 21) {
      ar << f.printScale << f.marginUnit;
      for (WORD w : f.margins) ar << w;
      for (BYTE b : f.pageBytes) ar << b;
      for (int i = 0; i < (v >= 25 ? 6 : 4); ++i) ar << f.marks[i];
      ar << f.midiTempo;
      for (BYTE b : f.midiBytes) ar << b;
      ar << static_cast<BYTE>(f.instruments.size());
      for (const std::string& s : f.instruments) text(s);
      ar << f.showVariationNumbers << f.word83 << f.word84 << f.tabSpacing << f.byte86;
    }
    if (v >= 22) {
      ar << f.keepGroups << f.alertLarger;
      text(f.text88);
      text(f.chordAndRhythm);
    }
    if (v >= 24) text(f.pageNumberFont);
    if (v >= 26) ar << f.midiShowCaret;
    if (v >= 28) {
      text(f.textFont);
      text(f.extTextAndTriplet);
      text(f.tabFont);
    }
    ar << static_cast<DWORD>(f.objects.groups.size());
    ar << static_cast<BYTE>(f.extraStrings.size());
    for (const std::string& s : f.extraStrings) text(s);
    ar << static_cast<DWORD>(f.extensions.size());
    for (DWORD d : f.extensions) ar << d;
    ar.Write(f.fontPart.data(), static_cast<UINT>(f.fontPart.size()));

    CObList lines;
    for (const KTestLineSpec& line : f.objects.lines) {
      lines.AddTail(
          new KDocTestLine(line.type, line.fontNumber, line.text.c_str(), line.colour, line.groupId));
    }
    CObList groups;
    for (int id : f.objects.groups) groups.AddTail(new KLineGroup(id, 0, 0));
    lines.Serialize(ar);
    groups.Serialize(ar);
    ar << f.objects.itemCount;
    ar.Close();
    while (!lines.IsEmpty()) delete lines.RemoveHead();
    while (!groups.IsEmpty()) delete groups.RemoveHead();
  }
  return file.Data();
}

// The font part of a file: a marker, the indexes (new form), the fonts and
// `counts` use counts, all zero but the given ones.
std::vector<BYTE> FontPart(BYTE marker, const std::vector<BYTE>& indexes, const std::vector<LOGFONT>& fonts,
                           int counts, const std::vector<std::pair<int, int>>& used) {
  std::vector<BYTE> out{marker};
  out.insert(out.end(), indexes.begin(), indexes.end());
  for (const LOGFONT& font : fonts) AppendLogFont(out, font);
  for (int i = 0; i < counts; ++i) {
    int count = 0;
    for (const auto& [index, n] : used) {
      if (index == i) count = n;
    }
    AppendDword(out, static_cast<DWORD>(count));
  }
  return out;
}

// ---- Settings dump ---------------------------------------------------------------------

namespace {

class KDump {
 public:
  template <typename T>
  void operator()(const char* name, const T& value) {
    out_ << name << '=' << static_cast<long long>(value) << '\n';
  }
  void operator()(const char* name, const CString& value) { out_ << name << "=\"" << value.Str() << "\"\n"; }
  std::string Text() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

}  // namespace

std::string DumpSettings(const ScoreSettings& s) {
  KDump d;
  d("windowX", s.windowX);
  d("windowY", s.windowY);
  d("windowWidth", s.windowWidth);
  d("windowHeight", s.windowHeight);
  d("scrollDelay", s.scrollDelay);
  d("fixedLineLength", s.fixedLineLength);
  d("firstPageNumber", s.firstPageNumber);
  d("diagramScale", s.diagramScale);
  d("word9", s.word9);
  d("largeSymbols", s.largeSymbols);
  d("scrollLines", s.scrollLines);
  d("lineSpacing", s.lineSpacing);
  d("autosaveAmount", s.autosaveAmount);
  d("autosaveKind", s.autosaveKind);
  d("byte15", s.byte15);
  d("lineLabelMode", s.lineLabelMode);
  d("adTabMode", s.adTabMode);
  d("tabDigitPlacement", s.tabDigitPlacement);
  d("readOnly", s.readOnly);
  d("repeatScrolling", s.repeatScrolling);
  d("scrollSound", s.scrollSound);
  for (int i = 0; i < ScoreSettings::kLineTypeCount; ++i) {
    d(("showLineType[" + std::to_string(i) + "]").c_str(), s.showLineType[i]);
  }
  d("byte39", s.byte39);
  d("flags48", s.flags48);
  d("arrowKeysWithinStaff", s.arrowKeysWithinStaff);
  d("arrowCursor", s.arrowCursor);
  d("keyChangesCursor", s.keyChangesCursor);
  d("barFlags", s.barFlags);
  d("makeBackups", s.makeBackups);
  d("editFlags", s.editFlags);
  d("byte47", s.byte47);
  d("byte48", s.byte48);
  d("printOrientation", s.printOrientation);
  d("byte50", s.byte50);
  d("byte51", s.byte51);
  d("tabTuning", s.tabTuning);
  d("bassTabTuning", s.bassTabTuning);
  d("tabTuningFull", s.tabTuningFull);
  d("pageNumberingText", s.pageNumberingText);
  d("showVariationNumbers", s.showVariationNumbers);
  d("printScale", s.printScale);
  d("marginUnit", s.marginUnit);
  d("marginTop", s.marginTop);
  d("marginBottom", s.marginBottom);
  d("marginLeft", s.marginLeft);
  d("marginRight", s.marginRight);
  d("showPageBreaks", s.showPageBreaks);
  d("pageXofY", s.pageXofY);
  d("pageNumberText", s.pageNumberText);
  d("pageNumberVertical", s.pageNumberVertical);
  d("pageNumberHorizontal", s.pageNumberHorizontal);
  d("keepGroupsTogether", s.keepGroupsTogether);
  d("alertLargerThanPage", s.alertLargerThanPage);
  d("word70", s.word70);
  d("word71", s.word71);
  d("word72", s.word72);
  d("word73", s.word73);
  d("word74", s.word74);
  d("word75", s.word75);
  d("midiTempo", s.midiTempo);
  d("midiLevel", s.midiLevel);
  d("midiBetweenMarks", s.midiBetweenMarks);
  d("midiLoop", s.midiLoop);
  d("midiIgnoreRepeats", s.midiIgnoreRepeats);
  d("midiShowCaret", s.midiShowCaret);
  d("instrumentCount", s.instrumentCount);
  d("word83", s.word83);
  d("word84", s.word84);
  d("tabSpacing", s.tabSpacing);
  d("byte86", s.byte86);
  for (int i = 0; i < ScoreSettings::kInstrumentSlots; ++i) {
    d(("instrumentTable[" + std::to_string(i) + "]").c_str(), s.instrumentTable[i]);
  }
  d("text88", s.text88);
  d("pageNumberFont", s.pageNumberFont);
  d("textFont", s.textFont);
  d("extTextAndTripletFonts", s.extTextAndTripletFonts);
  d("extTextFont", s.extTextFont);
  d("tripletFont", s.tripletFont);
  d("tabFont", s.tabFont);
  d("chordAndRhythmFonts", s.chordAndRhythmFonts);
  d("chordNameFont", s.chordNameFont);
  d("rhythmFont", s.rhythmFont);
  d("word98", s.word98);
  d("staffValue8", s.staffValue8);
  d("staffValue9", s.staffValue9);
  d("staffValue10", s.staffValue10);
  d("staffValue11", s.staffValue11);
  d("staffValue12", s.staffValue12);
  d("midiEffects", s.midiEffects);
  d("dword105", s.dword105);
  d("dword106", s.dword106);
  return d.Text();
}

// ---- Documents ----------------------------------------------------------------------------

std::vector<BYTE> StoreDocument(CStavlinDoc& doc) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  doc.Serialize(ar);
  ar.Close();
  return file.Data();
}

bool LoadDocument(CStavlinDoc& doc, const std::vector<BYTE>& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  ar.SetObjectReferencesAllowed(false);
  try {
    doc.Serialize(ar);
  } catch (const CArchiveException&) {
    return false;
  }
  return true;
}

std::vector<std::string> LineSummary(const CStavlinDoc& doc) {
  std::vector<std::string> out;
  POSITION pos = doc.lines.GetHeadPosition();
  while (pos != nullptr) {
    const CObject* object = doc.lines.GetNext(pos);
    if (const auto* line = dynamic_cast<const KDocTestLine*>(object)) {
      out.push_back(std::to_string(line->type) + "/" + std::to_string(line->fontNumber) + "/" +
                    line->text.Str());
    } else {
      const auto* other = dynamic_cast<const KLineObj*>(object);
      out.push_back(std::string(object->GetRuntimeClass()->m_lpszClassName) + "/" +
                    std::to_string(other != nullptr ? other->GetType() : -1));
    }
  }
  return out;
}

// ---- Line groups ---------------------------------------------------------------------------

namespace {

std::map<POSITION, int> LineIndexes(const CStavlinDoc& doc) {
  std::map<POSITION, int> index;
  int i = 0;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr; doc.lines.GetNext(pos)) index[pos] = i++;
  return index;
}

}  // namespace

// Every group as "id:line,line,..." (line indexes in the list), in list order.
std::string DescribeGroups(const CStavlinDoc& doc) {
  const std::map<POSITION, int> index = LineIndexes(doc);
  std::string out;
  for (POSITION pos = doc.lineGroups.GetHeadPosition(); pos != nullptr;) {
    const auto* group = static_cast<const KLineGroup*>(doc.lineGroups.GetNext(pos));
    if (!out.empty()) out += ' ';
    out += std::to_string(group->GetId()) + ':';
    for (int i = 0; i < group->GetSlotCount(); ++i) {
      const auto found = index.find(group->GetSlotLineRef(i));
      out += (i > 0 ? "," : "") + (found != index.end() ? std::to_string(found->second) : std::string("?"));
    }
  }
  return out;
}

KLineGroup* GroupOf(CStavlinDoc& doc, int id, const std::vector<POSITION>& positions) {
  std::vector<int> types;
  for (POSITION pos : positions) types.push_back(doc.GetLineAt(pos)->GetType());
  auto* group = new KLineGroup(id, positions, types, 0);
  doc.AddLineGroup(group);
  for (POSITION pos : positions) doc.GetLineAt(pos)->SetGroup(id, group);
  return group;
}

// What does not hold together: a grouped line its group does not hold or
// point at, or a slot without its line.
std::string GroupViolations(const CStavlinDoc& doc) {
  std::string out;
  const std::map<POSITION, int> index = LineIndexes(doc);
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    const POSITION here = pos;
    const KLineObj* line = doc.GetNextLine(pos);
    const int n = index.at(here);
    if (line->GetGroupId() == -1) {
      if (line->GetGroup() != nullptr) out += "line " + std::to_string(n) + " points at a group; ";
      continue;
    }
    const KLineGroup* group = doc.FindLineGroup(line->GetGroupId());
    if (group == nullptr || group->FindSlot(here) < 0) out += "line " + std::to_string(n) + " not held; ";
    if (line->GetGroup() != group) out += "line " + std::to_string(n) + " has another pointer; ";
  }
  for (POSITION pos = doc.lineGroups.GetHeadPosition(); pos != nullptr;) {
    const auto* group = static_cast<const KLineGroup*>(doc.lineGroups.GetNext(pos));
    for (int i = 0; i < group->GetSlotCount(); ++i) {
      const POSITION ref = group->GetSlotLineRef(i);
      const KLineObj* line = index.count(ref) != 0 ? doc.GetLineAt(ref) : nullptr;
      if (line == nullptr || line->GetGroupId() != group->GetId() || group->GetSlotLine(i) != line)
        out += "group " + std::to_string(group->GetId()) + " slot " + std::to_string(i) + " wrong; ";
    }
  }
  return out;
}

// ---- Fixture ---------------------------------------------------------------------------------

void DocTest::ResetAll() { ResetProgramGlobals(); }

void DocTest::SetUp() {
  tempFolder_.emplace("doc");
  dir_ = tempFolder_->Path();
  ResetAll();
  RegisterModelClasses();
  CRuntimeClass::Register({RUNTIME_CLASS(KDocTestLine), RUNTIME_CLASS(KLineGroup)});
  previousHooks_ = SetDocLineHooks(TestLineHooks());
  uiScope_ = std::make_unique<ScopedUiPort>(ui_);
  auto container = std::make_unique<KTestContainer>();
  container_ = container.get();
  previousContainer_ = SetCurrentCompoundFile(std::move(container));
}

void DocTest::TearDown() {
  SetCurrentCompoundFile(std::move(previousContainer_));
  container_ = nullptr;
  uiScope_.reset();
  SetDocLineHooks(previousHooks_);
  ResetAll();
  tempFolder_.reset();
}

void DocTest::WriteFile(const std::string& name, const std::vector<BYTE>& bytes) const {
  std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<BYTE> DocTest::ReadFile(const std::string& name) const {
  std::ifstream in(dir_ / name, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<int> NewLineSpacingForTest() {
  return {g_defaultIndent, g_staffSpaceAbove, g_staffSpaceBelow, g_tabSpaceAbove, g_tabSpaceBelow};
}

#include "LayoutFixture.h"

#include <cctype>

#include "common/ErrorReporter.h"
#include "common/FontCodec.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/DocServices.h"
#include "model/KChord.h"
#include "model/LineServices.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr int kBarCode = 21;
constexpr int kNoteCode = 6;
constexpr int kNoteValue = 12;
constexpr int kTabRhythm = 72;

LOGFONT FontOfHeight(int height) {
  LOGFONT font;
  font.lfHeight = height;
  font.lfWeight = 400;
  SetFaceName(font, "Arial");
  return font;
}

// One note column and a bar column per bar.
void FillBars(KListLine& line, int bars, bool tab) {
  int pos = 0;
  for (int b = 0; b < bars; ++b) {
    if (tab) {
      line.GetObjList()->AddTail(new KChord(pos++, 3, KChord::kFirstFret + 2, kTabRhythm));
    } else {
      line.GetObjList()->AddTail(new KChord(pos++, kNoteValue, kNoteCode, 0));
    }
    line.GetObjList()->AddTail(new KChord(pos++, 1, kBarCode, 0));
  }
  line.UpdateTimeSigCache();
}

}  // namespace

void LayoutFixture::ResetGlobals() {
  ResetPreferences();
  ResetViewServices();
  ResetViewMirrors();
  ResetDocServices();
  ResetLineServices();
  ResetLineGroupServices();
  g_ReportedOnce = 0;
  g_widestNotation = -1;
  g_holdWidest = 0;
  g_noModify = 0;
}

void LayoutFixture::SetUp() {
  ResetGlobals();
  g_defaultIndent = 0;
  uiScope_ = std::make_unique<ScopedUiPort>(ui_);
  view_ = std::make_unique<CStavlinView>(&doc_, &host_);
  CStavlinView& v = *view_;
  v.m_show[8] = 0;
  v.m_textFonts[0] = FontOfHeight(20);
  v.m_textFonts[1] = FontOfHeight(16);
  v.m_textFonts[2] = FontOfHeight(40);
  for (int slot = 0; slot < 3; ++slot) {
    v.m_baseFontHeight[static_cast<size_t>(slot)] = v.m_textFonts[static_cast<size_t>(slot)].lfHeight;
    v.m_fontUseCounts[static_cast<size_t>(slot)] = slot == 0 ? CStavlinDoc::kFontCountHeader : 1;
  }
  g_prefStaffLines3.titleFontThreshold = 10;
}

void LayoutFixture::TearDown() {
  view_.reset();
  uiScope_.reset();
  ResetGlobals();
}

POSITION LayoutFixture::AddStaff(int bars, DWORD flags) {
  auto* staff = new KStaffLine(0, 0, flags);
  staff->SetSpaceAbove(10, 0);
  staff->SetSpaceBelow(12, 0);
  FillBars(*staff, bars, false);
  return doc_.AddTailLine(staff);
}

POSITION LayoutFixture::AddTab(int bars) {
  auto* tab = new KTabLine(0, kGuitar, 0);
  tab->SetSpaceAbove(14, 0);
  tab->SetSpaceBelow(12, 0);
  FillBars(*tab, bars, true);
  return doc_.AddTailLine(tab);
}

POSITION LayoutFixture::AddText(const char* text, int fontSlot, DWORD flags) {
  auto* line = new KStrLine(text, fontSlot);
  if (flags != 0) line->ModifyFlags(flags, 1);
  return doc_.AddTailLine(line);
}

POSITION LayoutFixture::AddRhythm(int fontHeight) {
  CString font;
  LogFontToString(FontOfHeight(fontHeight), font);
  return doc_.AddTailLine(new KRhythmLine(0, font));
}

POSITION LayoutFixture::AddChordLine(int nameFontHeight) {
  CString font;
  LogFontToString(FontOfHeight(nameFontHeight), font);
  return doc_.AddTailLine(new KChordPicLine(0, kGuitar, font, 100, 100));
}

void LayoutFixture::Group(int id, const std::vector<POSITION>& positions) {
  std::vector<int> types;
  for (POSITION pos : positions) types.push_back(LineAt(pos)->GetType());
  auto* group = new KLineGroup(id, positions, types, 0);
  doc_.AddLineGroup(group);
  for (POSITION pos : positions) LineAt(pos)->SetGroup(id, group);
}

KListLine* LayoutFixture::ListLineAt(POSITION position) const {
  KLineObj* line = LineAt(position);
  return line != nullptr ? line->AsListLine() : nullptr;
}

std::vector<int> LayoutFixture::PageCodes() const {
  std::vector<int> codes;
  for (int i = 0; i < view_->GetDisplayLineCount(); ++i)
    codes.push_back(Entry(i).extra[CStavlinView::kPageCode]);
  return codes;
}

std::vector<int> LayoutFixture::FirstBars() const {
  std::vector<int> bars;
  for (int i = 0; i < view_->GetDisplayLineCount(); ++i)
    bars.push_back(Entry(i).extra[CStavlinView::kFirstBar]);
  return bars;
}

void LayoutFixture::UseSmallPage() {
  g_prefPrinterParams = KPrefPrinterParams{800, 260, 96, 96};
  g_screenResX = g_screenResY = 96;
  view_->m_printScale = 100;
  view_->ComputePageMargins();
}

std::string CaseName(const std::string& text) {
  std::string name;
  bool upper = true;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
      upper = false;
    } else {
      upper = true;
    }
  }
  return name;
}

#include "dialogs/KDlgKeySig.h"

#include <array>
#include <cctype>
#include <string>

#include "common/HelpTopics.h"
#include "common/KeySignature.h"
#include "dialogs/ChordPictures.h"
#include "lines/KStaffLine.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

namespace {

constexpr std::array<std::string_view, KDlgKeySig::kNameCount> kKeyNames = {
    "C   / Am", "G   / Em", "D   / Bm", "A   / F#m", "E   / C#m", "B   / G#m", "F# / D#m", "C# / A#m",
    "F   / Dm", "Bb / Gm",  "Eb / Cm",  "Ab / Fm",   "Db / Bbm",  "Gb / Ebm",  "Cb / Abm"};

constexpr UINT kValidKeysMessage = 7017;
constexpr UINT kCountRangeMessage = 7023;
constexpr UINT kKeyLabelText = 8003;
constexpr UINT kCancelLabelText = 8004;
constexpr int kSevenSharps = 14;
constexpr int kOneFlat = 3;
// Where the preview's staff stands in its picture.
constexpr int kPreviewStaffX = 4;
constexpr int kPreviewStaffTop = 18;
constexpr int kLargeSymbols = 1;

}  // namespace

std::string_view KDlgKeySig::KeyName(int index) {
  return index >= 0 && index < kNameCount ? kKeyNames[static_cast<size_t>(index)] : std::string_view();
}

int KDlgKeySig::IndexOfCode(int code) {
  if (code < 0 || code > 15 || code == 1) return 0;
  return code % 2 == 0 ? code / 2 : (code - 1) / 2 + 7;
}

int KDlgKeySig::CodeOfIndex(int index) {
  if (index < 0 || index >= kNameCount) return 0;
  return index < 8 ? 2 * index : 2 * index - 13;
}

BOOL KDlgKeySig::OnInitDialog() {
  if (keyCode < 0 || keyCode > 15) keyCode = 0;
  naturals = 0;
  action = kActionSetLine;
  keyLabel = LoadString(kKeyLabelText);
  FollowCode();
  const BOOL result = KModalDialog::OnInitDialog();
  if (DialogControl* label = Controls().Find(kIdKeyLabel)) label->caption = keyLabel.Str();
  DrawPreview();
  return result;
}

// A treble staff with its clef and the key signature (the naturals that
// cancel the key when Naturals is chosen), in the large symbols.
void KDlgKeySig::DrawPreview() {
  KPictureCanvas canvas(m_preview, kPreviewWidth, kPreviewHeight);
  CDC* dc = canvas.Dc();
  if (dc == nullptr) return;
  const KStaffLine staff(0, 0, 0);
  staff.DrawNotes(dc, 0, kLargeSymbols, kPreviewStaffX, kPreviewStaffTop, 0,
                  kPreviewWidth - 2 * kPreviewStaffX, -1, 0, 5);
  const int code = (keyCode >= 0 && keyCode <= 15 ? keyCode : 0) + (naturals != 0 ? 16 : 0);
  DrawKeySignature(dc, kPreviewStaffTop, code, kKeyLineTreble, 0, kPreviewStaffX, kLargeSymbols, 0, 0);
}

void KDlgKeySig::FollowCode() {
  nameIndex = IndexOfCode(keyCode);
  count = keyCode / 2;
  countText = CString(std::to_string(count));
  if (naturals == 0) accidentalKind = keyCode % 2;
}

void KDlgKeySig::Show() {
  if (DialogControl* label = Controls().Find(kIdKeyLabel)) label->caption = keyLabel.Str();
  m_inUpdate = true;
  Controls().Load();
  m_inUpdate = false;
  DrawPreview();
}

void KDlgKeySig::OnSharps() {
  keyCode = 2 * count;
  naturals = 0;
  keyLabel = LoadString(kKeyLabelText);
  FollowCode();
  Show();
}

void KDlgKeySig::OnFlats() {
  keyCode = 2 * count + 1;
  naturals = 0;
  keyLabel = LoadString(kKeyLabelText);
  FollowCode();
  Show();
}

void KDlgKeySig::OnNaturals() {
  naturals = 1;
  accidentalKind = 2;
  action = kActionInsert;
  keyLabel = LoadString(kCancelLabelText);
  Show();
}

void KDlgKeySig::OnSelectKeyName(int index) {
  if (index < 0 || index >= kNameCount) return;
  keyCode = CodeOfIndex(index);
  FollowCode();
  Show();
}

void KDlgKeySig::OnTypeKeyName(std::string_view text) {
  if (text.empty()) {
    Show();
    return;
  }
  std::string search;
  const char c = text.front();
  if (c == 'b' || c == '#') {
    search = std::string(1, KeyName(nameIndex).front()) + c;
  } else {
    search = std::string(1, c) + ' ';
  }
  for (int i = 0; i < kNameCount; ++i) {
    const std::string_view name = KeyName(i);
    bool match = name.size() >= search.size();
    for (size_t k = 0; match && k < search.size(); ++k) {
      match = std::tolower(static_cast<unsigned char>(name[k])) ==
              std::tolower(static_cast<unsigned char>(search[k]));
    }
    if (match) {
      OnSelectKeyName(i);
      return;
    }
  }
  Show();
  AfxMessageBox(kValidKeysMessage);
}

void KDlgKeySig::OnCountChanged() {
  if (m_inUpdate) return;
  const std::string text = Controls().Text(kIdCount);
  if (text.empty()) return;
  const bool flats = keyCode % 2 == 1;
  if (text.size() != 1 || text[0] < '0' || text[0] > '7') {
    AfxMessageBox(kCountRangeMessage);
    keyCode = flats ? kOneFlat : 0;
    count = flats ? 1 : 0;
    nameIndex = IndexOfCode(keyCode);
    countText = CString(std::to_string(count));
    Show();
    return;
  }
  const int digit = text[0] - '0';
  if (digit == count) return;
  count = digit;
  keyCode = flats ? 2 * digit + 1 : 2 * digit;
  FollowCode();
  Show();
}

void KDlgKeySig::OnFifthUp() {
  if (keyCode == kSevenSharps) return;
  if (keyCode == kOneFlat) {
    keyCode = 0;
  } else if (keyCode % 2 == 0) {
    keyCode += 2;
  } else {
    keyCode = std::max(keyCode - 2, 0);
  }
  FollowCode();
  Show();
}

void KDlgKeySig::OnFifthDown() {
  if (keyCode > kSevenSharps) return;
  if (keyCode == 0) {
    keyCode = kOneFlat;
  } else if (keyCode % 2 == 0) {
    keyCode = std::max(keyCode - 2, 0);
  } else {
    keyCode += 2;
  }
  FollowCode();
  Show();
}

void KDlgKeySig::OnHelp() { ShowHelpTopic(HelpTopic::kKeySig); }

void KDlgKeySig::DeclareControls(DialogControls& c) {
  c.SetTitle("Select Key Signature");
  c.Static(kIdKeyLabel, keyLabel.Str());
  c.Combo(kIdKeyName, nameIndex, std::vector<std::string>(kKeyNames.begin(), kKeyNames.end()))
      .WhenChanged([this] {
        if (!m_inUpdate) OnSelectKeyName(Controls().Selected(kIdKeyName));
      });
  c.Static(kIdCountLabel, "Number of accidentals:");
  c.Edit(kIdCount, countText, 1).WhenChanged([this] { OnCountChanged(); });
  c.Static(kIdOrLabel, "Or:");
  c.Button(kIdFifthUp, "One more &sharp", DialogButtonRole::kAction, [this] { OnFifthUp(); });
  c.Button(kIdFifthDown, "One more f&lat", DialogButtonRole::kAction, [this] { OnFifthDown(); });
  c.RadioGroup(kIdSharps, "&Sharps", accidentalKind).WhenChanged([this] {
    if (Controls().Checked(kIdSharps) != 0) OnSharps();
  });
  c.Radio(kIdFlats, "&Flats").WhenChanged([this] {
    if (Controls().Checked(kIdFlats) != 0) OnFlats();
  });
  c.Radio(kIdNaturals, "&Naturals").WhenChanged([this] {
    if (Controls().Checked(kIdNaturals) != 0) OnNaturals();
  });
  c.Static(kIdNaturalsNote, "(ie. return to C/Am)");
  c.RadioGroup(kIdSetKey, "Se&t key signature of the staff line", action);
  c.Picture(kIdPreview, m_preview, kPreviewWidth, kPreviewHeight);
  c.Static(kIdActionOr, "or");
  c.Radio(kIdInsertKey, "&Insert new key signature at caret position");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  c.Keep(keyCode);
  c.Keep(naturals);
  c.Keep(count);
}

void KDlgKeySig::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Ctl(kIdKeyLabel), Ctl(kIdKeyName), Stretch()}),
      Row({Ctl(kIdCountLabel), Ctl(kIdCount), Ctl(kIdOrLabel), Ctl(kIdFifthUp), Ctl(kIdFifthDown),
           Stretch()}),
      Row({Ctl(kIdSharps), Ctl(kIdFlats), Ctl(kIdNaturals), Ctl(kIdNaturalsNote), Stretch()}),
      Row({Stretch(), Ctl(kIdPreview), Stretch()}),
      Column({Ctl(kIdSetKey), Ctl(kIdActionOr), Ctl(kIdInsertKey)}),
  };
}

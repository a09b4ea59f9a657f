#include "dialogs/KDlgTranspose.h"

#include <array>
#include <cctype>
#include <string>

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

namespace {

constexpr std::array<std::string_view, KDlgTranspose::kKeyCount> kKeyNames = {
    "Ab / Fm",  "A   / F#m", "Bb / Gm",   "B   / G#m", "Cb / Abm", "C   / Am", "C# / A#m", "Db / Bbm",
    "D   / Bm", "Eb / Cm ",  "E   / C#m", "F   / Dm",  "F# / D#m", "Gb / Ebm", "G   / Em"};

constexpr UINT kValidKeysMessage = 7017;

bool StartsWithNoCase(std::string_view name, std::string_view prefix) {
  if (name.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

}  // namespace

std::string_view KDlgTranspose::KeyName(int index) {
  return index >= 0 && index < kKeyCount ? kKeyNames[static_cast<size_t>(index)] : std::string_view();
}

BOOL KDlgTranspose::OnInitDialog() {
  m_targetLetter = 0;
  m_assumedLetter = 0;
  if (targetKey < 0 || targetKey >= kKeyCount) targetKey = 5;
  if (assumedKey < 0 || assumedKey >= kKeyCount) assumedKey = 5;
  ApplyDirectionRule();
  return KModalDialog::OnInitDialog();
}

bool KDlgTranspose::OnOK() {
  if (!KModalDialog::OnOK()) return false;
  if (targetKey == assumedKey && direction != kRaise) direction = kLower;
  return true;
}

void KDlgTranspose::ApplyDirectionRule() { direction = targetKey != assumedKey ? kClosest : kRaise; }

void KDlgTranspose::Show() {
  m_inUpdate = true;
  Controls().Load();
  m_inUpdate = false;
}

void KDlgTranspose::OnSelectTargetKey(int index) {
  if (index < 0 || index >= kKeyCount) return;
  targetKey = index;
  ApplyDirectionRule();
  Show();
}

void KDlgTranspose::OnSelectAssumedKey(int index) {
  if (index < 0 || index >= kKeyCount) return;
  assumedKey = index;
  ApplyDirectionRule();
  Show();
}

void KDlgTranspose::TypeKey(std::string_view text, int& index, char& remembered) {
  if (!text.empty()) {
    const char c = text.front();
    std::string search;
    if (c == 'b' || c == '#') {
      search = std::string(1, remembered) + c;
      remembered = 0;
    } else {
      search = std::string(1, c) + ' ';
      remembered = c;
    }
    int found = -1;
    for (int i = 0; i < kKeyCount && found < 0; ++i) {
      if (StartsWithNoCase(KeyName(i), search)) found = i;
    }
    if (found >= 0) {
      index = found;
    } else {
      remembered = 0;
      AfxMessageBox(kValidKeysMessage);
    }
  }
  ApplyDirectionRule();
  Show();
}

void KDlgTranspose::OnTypeTargetKey(std::string_view text) { TypeKey(text, targetKey, m_targetLetter); }

void KDlgTranspose::OnTypeAssumedKey(std::string_view text) { TypeKey(text, assumedKey, m_assumedLetter); }

void KDlgTranspose::OnHelp() { ShowHelpTopic(HelpTopic::kTranspose); }

void KDlgTranspose::DeclareControls(DialogControls& c) {
  c.SetTitle("Transpose Musical Key...");
  const std::vector<std::string> keys(kKeyNames.begin(), kKeyNames.end());
  c.Static(kIdTargetLabel, "Transpose line(s) to key of:");
  c.Combo(kIdTargetKey, targetKey, keys).WhenChanged([this] {
    if (!m_inUpdate) OnSelectTargetKey(Controls().Selected(kIdTargetKey));
  });
  c.Static(kIdKeyTextLabel, "Key of current line(s):");
  c.Static(kIdKeyText, keyText.Str());
  c.RadioGroup(kIdRaise, "&Raise pitches to target key", direction);
  c.Radio(kIdLower, "&Lower pitches to target key");
  c.Radio(kIdClosest, "Raise/lo&wer in closest direction to target key");
  c.Static(kIdScopeLabel, "Transpose:");
  c.RadioGroup(kIdCurrentLine, "C&urrent line", scope);
  c.Radio(kIdSelection, "S&election");
  c.Radio(kIdAll, "&All");
  c.Group(kIdStaffBox, "Treble and Bass Lines...  Accidentals");
  c.RadioGroup(kIdSimple, "Transpose with &simple accidentals only", accidentals);
  c.Radio(kIdDouble, "Use &double flats (bb) and double sharps (x)");
  c.Group(kIdTabBox, "Tab and Chord Lines...");
  c.Static(kIdAssumedLabel, "Assumed key of line(s):");
  c.Combo(kIdAssumedKey, assumedKey, keys).WhenChanged([this] {
    if (!m_inUpdate) OnSelectAssumedKey(Controls().Selected(kIdAssumedKey));
  });
  c.Check(kIdKeepClose, "Keep &fingering close to fret #", keepClose);
  c.Number(kIdFret, fret, 0, kMaxFret);
  c.Static(kIdOpenParen, "(");
  c.Check(kIdNeverBelow, "Fingering must &never go below this fret  )", neverBelow);
  c.Static(kIdPlacementLabel, "Transposed line(s) should:");
  c.RadioGroup(kIdReplace, "Re&place", placement);
  c.Radio(kIdAbove, "Go abo&ve");
  c.Radio(kIdBelow, "Go &below");
  c.Static(kIdPlacementAfter, "the original selected line(s)");
  c.Static(kIdNote,
           "NOTE: 'Replace' is not always exactly reversible.  You\n"
           "may want to SAVE before doing a 'Replace' transposition.");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgTranspose::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Ctl(kIdTargetLabel), Ctl(kIdTargetKey), Ctl(kIdKeyTextLabel), Ctl(kIdKeyText), Stretch()}),
      Column({Ctl(kIdRaise), Ctl(kIdLower), Ctl(kIdClosest)}),
      Row({Ctl(kIdScopeLabel), Ctl(kIdCurrentLine), Ctl(kIdSelection), Ctl(kIdAll), Stretch()}),
      Box(kIdStaffBox, {Ctl(kIdSimple), Ctl(kIdDouble)}),
      Box(kIdTabBox,
          {Row({Ctl(kIdAssumedLabel), Ctl(kIdAssumedKey), Stretch()}),
           Row({Ctl(kIdKeepClose), Ctl(kIdFret), Ctl(kIdOpenParen), Ctl(kIdNeverBelow), Stretch()})}),
      Row({Ctl(kIdPlacementLabel), Ctl(kIdReplace), Ctl(kIdAbove), Ctl(kIdBelow), Ctl(kIdPlacementAfter),
           Stretch()}),
      Ctl(kIdNote),
  };
}

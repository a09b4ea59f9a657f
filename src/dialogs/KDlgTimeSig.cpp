#include "dialogs/KDlgTimeSig.h"

#include <string>

#include "common/HelpTopics.h"
#include "common/SymbolCache.h"
#include "dialogs/ChordPictures.h"
#include "platform/GdiConstants.h"
#include "platform/SymbolLoader.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kBeatsRangeMessage = 7024;
constexpr int kMaxBeats = 16;
constexpr int kBeatValues[4] = {2, 4, 8, 16};
constexpr int kFigureFamily = 9;
constexpr int kCommonTimeBitmap = 2550;
constexpr int kCutTimeBitmap = 2551;
constexpr int kSymbolPictureSize = 24;

// A loaded symbol picture is shown at its own size.
int PictureWidth(const CBitmap& bitmap) {
  return bitmap.Pixels() != nullptr ? static_cast<int>(bitmap.GetSize().cx) : kSymbolPictureSize;
}
int PictureHeight(const CBitmap& bitmap) {
  return bitmap.Pixels() != nullptr ? static_cast<int>(bitmap.GetSize().cy) : kSymbolPictureSize;
}

// One time-signature figure drawn into its picture.
int DrawFigure(CBitmap& picture, int number) {
  KPictureCanvas canvas(picture, KDlgTimeSig::kFigureWidth, KDlgTimeSig::kFigureHeight);
  CDC* dc = canvas.Dc();
  const int code = KDlgTimeSig::kFirstFigure + number;
  if (dc != nullptr) LoadSymbolBitmap(dc, kFigureFamily, code, 2, 1, 100, 100, SRCAND);
  return code;
}

}  // namespace

BOOL KDlgTimeSig::OnInitDialog() {
  beats = 4;
  beatsText = "4";
  beatValue = 4;
  valueIndex = 1;
  choice = kNumeric;
  const BOOL result = KModalDialog::OnInitDialog();
  DrawPreview();
  return result;
}

void KDlgTimeSig::DrawPreview() {
  if (valueIndex >= 0 && valueIndex < 4) beatValue = kBeatValues[valueIndex];
  m_shownBeats = DrawFigure(m_beatsPicture, beats);
  m_shownValue = DrawFigure(m_valuePicture, beatValue);
}

bool KDlgTimeSig::OnOK() {
  if (!KModalDialog::OnOK()) return false;
  if (valueIndex >= 0 && valueIndex < 4) beatValue = kBeatValues[valueIndex];
  return true;
}

void KDlgTimeSig::Show() {
  m_inUpdate = true;
  Controls().Load();
  m_inUpdate = false;
  DrawPreview();
}

void KDlgTimeSig::OnBeatValue(int value) {
  for (int i = 0; i < 4; ++i) {
    if (kBeatValues[i] == value) valueIndex = i;
  }
  beatValue = kBeatValues[valueIndex];
  choice = kNumeric;
  Show();
}

void KDlgTimeSig::OnBeatsChanged() {
  if (m_inUpdate) return;
  const std::string text = Controls().Text(kIdBeats);
  if (text.empty()) return;
  const std::optional<int> n = ParseDialogInteger(text);
  if (!n || *n < 1 || *n > kMaxBeats) {
    AfxMessageBox(kBeatsRangeMessage);
    beatsText.Empty();
    Show();
    return;
  }
  beats = *n;
  beatsText = CString(std::to_string(beats));
  Show();
}

void KDlgTimeSig::StepTo(int newBeats) {
  beats = newBeats;
  beatsText = CString(std::to_string(beats));
  choice = kNumeric;
  Show();
}

void KDlgTimeSig::OnBeatsUp() { StepTo(beats >= kMaxBeats ? 1 : beats + 1); }

void KDlgTimeSig::OnBeatsDown() { StepTo(beats <= 1 ? kMaxBeats : beats - 1); }

void KDlgTimeSig::OnHelp() { ShowHelpTopic(HelpTopic::kTimeSig); }

void KDlgTimeSig::DeclareControls(DialogControls& c) {
  c.SetTitle("Select Time Signature");
  if (m_commonPicture.GetSafeHandle() == nullptr) LoadSymbolResource(kCommonTimeBitmap, m_commonPicture);
  if (m_cutPicture.GetSafeHandle() == nullptr) LoadSymbolResource(kCutTimeBitmap, m_cutPicture);
  c.RadioGroup(kIdCommon, "\"Co&mmon Time\" ( 4/4 )", choice);
  c.Picture(kIdCommonPicture, m_commonPicture, PictureWidth(m_commonPicture), PictureHeight(m_commonPicture));
  c.Radio(kIdCut, "\"Cut &Time\" ( 2/2 )");
  c.Picture(kIdCutPicture, m_cutPicture, PictureWidth(m_cutPicture), PictureHeight(m_cutPicture));
  c.Radio(kIdNumeric, "&Numeric");
  c.Picture(kIdBeatsPicture, m_beatsPicture, kFigureWidth, kFigureHeight);
  c.Picture(kIdValuePicture, m_valuePicture, kFigureWidth, kFigureHeight);
  c.Static(kIdBeatsLabel, "Beats per bar:");
  c.Edit(kIdBeats, beatsText, 2).WhenChanged([this] { OnBeatsChanged(); });
  c.Button(kIdBeatsUp, "+", DialogButtonRole::kAction, [this] { OnBeatsUp(); });
  c.Button(kIdBeatsDown, "-", DialogButtonRole::kAction, [this] { OnBeatsDown(); });
  c.Group(kIdValueBox, "Beat value:");
  const auto value = [this](int v, UINT id) {
    return [this, v, id] {
      if (Controls().Checked(id) != 0) OnBeatValue(v);
    };
  };
  c.RadioGroup(kIdValue2, "&2", valueIndex).WhenChanged(value(2, kIdValue2));
  c.Radio(kIdValue4, "&4").WhenChanged(value(4, kIdValue4));
  c.Radio(kIdValue8, "&8").WhenChanged(value(8, kIdValue8));
  c.Radio(kIdValue16, "1&6").WhenChanged(value(16, kIdValue16));
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  c.Keep(beats);
  c.Keep(beatValue);
}

void KDlgTimeSig::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Ctl(kIdCommon), Stretch(), Ctl(kIdCommonPicture)}),
      Row({Ctl(kIdCut), Stretch(), Ctl(kIdCutPicture)}),
      Row({Ctl(kIdNumeric), Stretch(), Column({Ctl(kIdBeatsPicture), Ctl(kIdValuePicture)})}),
      Row({Ctl(kIdBeatsLabel), Ctl(kIdBeats), Ctl(kIdBeatsUp), Ctl(kIdBeatsDown), Stretch()}),
      Box(kIdValueBox, {Row({Ctl(kIdValue2), Ctl(kIdValue4), Ctl(kIdValue8), Ctl(kIdValue16), Stretch()})}),
  };
}

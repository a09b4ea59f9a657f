#include "view/edit/ViewDeleteParts.h"

#include <algorithm>
#include <span>

#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "model/LineServices.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/core/ViewMirrors.h"

namespace viewdelete {

namespace {

constexpr UINT kMsgNowIndependent = 8231;
constexpr int kModeShowMessages = 1;
constexpr int kModeLocked = 2;

std::pair<int, int> RangeFrom(const CStavlinView& view, int x0, int width) {
  if (width <= 0) return {0, 0};
  const int first = std::max((static_cast<int>(view.m_selRect.left) - x0) / width, 0);
  const int end = std::max((static_cast<int>(view.m_selRect.right) - x0) / width, 0);
  return {first, end};
}

// Stores the view's font use counts into the document.
void StoreFontCounts(CStavlinView& view) {
  view.m_document->SetFontUseCounts(std::span<const int, CStavlinDoc::kFontArraySize>(view.m_fontUseCounts));
}

int FontSlot(const KStrLine& line) {
  const int slot = line.GetFontIndex();
  return slot >= 1 && slot <= CStavlinDoc::kFontCount ? slot : 0;
}

}  // namespace

std::pair<int, int> NoteColumnRange(const CStavlinView& view, int displayLine) {
  return RangeFrom(view, viewgeom::LineLeftX(view, displayLine),
                   viewgeom::ColumnWidth(view, view.GetDisplayEntry(displayLine).type));
}

std::pair<int, int> ChordColumnRange(const CStavlinView& view, int displayLine) {
  const int size = view.GetSizeIndex() != 0 ? 1 : 0;
  return RangeFrom(view, viewgeom::LineLeftX(view, displayLine), KListLine::kChordColumnWidth[size]);
}

void AddBlankTextLine(CStavlinView& view) {
  auto* line = new KStrLine(view.m_currentTextFont);
  view.m_document->AddHeadLine(line);
  const int slot = FontSlot(*line);
  if (slot != 0) {
    ++view.m_fontUseCounts[static_cast<size_t>(slot)];
    StoreFontCounts(view);
  }
}

void RemoveWholeLine(CStavlinView& view, POSITION position) {
  CStavlinDoc& doc = *view.m_document;
  KLineObj* line = doc.GetLineAt(position);
  if (line == nullptr) return;
  if (const auto* text = dynamic_cast<const KStrLine*>(line)) {
    const int slot = FontSlot(*text);
    int& count = view.m_fontUseCounts[static_cast<size_t>(slot)];
    if (slot != 0 && count > 0) {
      --count;
      StoreFontCounts(view);
    }
  }
  if (KLineGroup* group = doc.FindLineGroup(line->GetGroupId()); group != nullptr) {
    POSITION remaining = nullptr;
    group->RemoveLine(position, remaining);
    // A group of this line alone keeps it; the document's removal drops both.
    if (group->FindSlot(position) < 0) line->SetGroup(KLineObj::kNoGroup, nullptr);
    if (remaining != nullptr) {
      // One line alone is no group: it stays in the score, ungrouped.
      if (KLineObj* last = doc.GetLineAt(remaining)) last->SetGroup(KLineObj::kNoGroup, nullptr);
      doc.DeleteLineGroup(group->GetId(), FALSE);
    }
  }

  // The document drops the label's instrument when no line carries it any more.
  MidiInstrumentTable table;
  table.count = std::clamp(view.m_labelCount, 0, kInstrumentTableSize);
  for (int i = 0; i < table.count; ++i) {
    const LabelEntry& entry = view.m_labels[static_cast<size_t>(i)];
    table.entries[i] = MidiInstrumentEntry{entry.name, entry.program, entry.volume};
  }
  doc.RemoveLine(position, &table, TRUE);
  view.m_labelCount = table.count;
  for (int i = 0; i < kInstrumentTableSize; ++i) {
    const MidiInstrumentEntry& entry = table.entries[i];
    view.m_labels[static_cast<size_t>(i)] = LabelEntry{entry.name, entry.program, entry.volume};
  }
  ScoreSettings settings;
  doc.GetSettings(settings);
  view.m_options.instrumentCount = settings.instrumentCount;
  std::copy(std::begin(settings.instrumentTable), std::end(settings.instrumentTable),
            std::begin(view.m_options.instrumentTable));
}

void MakeGroupLinesIndependent(CStavlinView& view) {
  if (view.m_independenceMode == kModeLocked || view.m_independentEditing != 0) return;
  view.m_independentEditing = 1;
  if (view.m_mutualTranslation != 0) {
    view.m_translationRestore = 1;
    view.m_mutualTranslation = 0;
    g_viewMirrors.mutualTranslation = 0;
  }
  if (view.m_autoWrap != 0) {
    view.m_autoWrapRestore = 1;
    view.OnOptionsAutoWrapMusic();
  }
  if (view.m_independenceMode == kModeShowMessages) AfxMessageBox(kMsgNowIndependent, MB_OK);
  g_viewMirrors.independentEditing = 1;
}

}  // namespace viewdelete

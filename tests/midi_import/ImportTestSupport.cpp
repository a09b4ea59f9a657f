#include "ImportTestSupport.h"

#include "model/KExtendedObj.h"
#include "model/KNoteEvent.h"

namespace importtest {

int CountAttachments(const CStavlinDoc& doc, int kind) {
  int count = 0;
  for (KListLine* line : Staves(doc)) {
    const CObList* list = line->GetAttachments();
    if (list == nullptr) continue;
    for (POSITION pos = list->GetHeadPosition(); pos != nullptr;) {
      const auto* a = dynamic_cast<const KExtendedObj*>(list->GetNext(pos));
      if (a != nullptr && a->GetKind() == kind) ++count;
    }
  }
  return count;
}

ImportFixture::ImportFixture() {
  ui.AnswerDialog(KDlgMidiImpSettings::kTemplateId, [this](KModalDialog& dialog) {
    auto& settings = static_cast<KDlgMidiImpSettings&>(dialog);
    shownRows = settings.Rows();
    return settingsScript ? settingsScript(settings) : IDOK;
  });
}

ImportFixture::~ImportFixture() = default;

MidiFileImportResult ImportFixture::Import(const std::vector<std::uint8_t>& bytes, const char* path) {
  return ImportMidiBytes(CString(path), bytes);
}

}  // namespace importtest

namespace importtest {

namespace {

// Columns under triplet brackets (kind 2) of the line.
std::vector<std::pair<int, int>> TripletSpans(KListLine& line) {
  std::vector<std::pair<int, int>> spans;
  const CObList* list = line.GetAttachments();
  for (POSITION pos = list != nullptr ? list->GetHeadPosition() : nullptr; pos != nullptr;) {
    const auto* a = dynamic_cast<const KExtendedObj*>(list->GetNext(pos));
    if (a != nullptr && a->GetKind() == 2)
      spans.emplace_back(a->GetPos(), a->GetPos() + (a->GetSize().cx + 5) / 18 - 1);
  }
  return spans;
}

}  // namespace

std::map<std::string, std::vector<Played>> PlayScore(const CStavlinDoc& doc) { return PlayLines(Lines(doc)); }

std::vector<Played> AllNotes(const std::map<std::string, std::vector<Played>>& parts) {
  std::vector<Played> all;
  for (const auto& [name, notes] : parts) all.insert(all.end(), notes.begin(), notes.end());
  std::stable_sort(all.begin(), all.end(), [](const Played& a, const Played& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.key < b.key;
  });
  return all;
}

std::map<std::string, std::vector<Played>> PlayLines(const std::vector<KLineObj*>& lines) {
  std::map<std::string, std::vector<Played>> parts;
  std::map<std::string, int> clocks;
  std::map<std::string, std::vector<int>> tiedOn;
  std::map<std::string, int> slotInSystem;
  int lastGroup = -2;
  for (KLineObj* object : lines) {
    // A new line group (or a line outside groups) starts a new system.
    if (object->GetGroupId() != lastGroup || object->GetGroupId() < 0) slotInSystem.clear();
    lastGroup = object->GetGroupId();
    auto* line = dynamic_cast<KListLine*>(object);
    if (line == nullptr || !KLineObj::IsNoteFamily(line->GetFamily())) {
      slotInSystem.clear();  // a text line ends each system
      continue;
    }
    const std::string label = line->GetLabelName().Str();
    const std::string part = label + "#" + std::to_string(slotInSystem[label]++);
    int& clock = clocks[part];
    std::vector<int>& tied = tiedOn[part];
    const auto spans = TripletSpans(*line);
    // Columns where a tie attachment (kind 0 or 1) starts: their notes go on.
    std::vector<int> tieColumns;
    const CObList* attachments = line->GetAttachments();
    for (POSITION pos = attachments != nullptr ? attachments->GetHeadPosition() : nullptr; pos != nullptr;) {
      const auto* a = dynamic_cast<const KExtendedObj*>(attachments->GetNext(pos));
      if (a != nullptr && (a->GetKind() == 0 || a->GetKind() == 1)) tieColumns.push_back(a->GetPos());
    }
    std::vector<const KChord*> columns;
    const CObList& list = *line->GetObjList();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
      if (const auto* c = dynamic_cast<const KChord*>(list.GetNext(pos))) columns.push_back(c);
    }
    for (size_t i = 0; i < columns.size(); ++i) {
      const KChord& c = *columns[i];
      if (c.IsBarColumn() || c.IsSignatureColumn()) continue;
      KColumnPlayContext context;
      context.lineType = line->GetType();
      context.earlierColumn = [&columns, i](int back) -> const KChord* {
        return back > 0 && static_cast<size_t>(back) <= i ? columns[i - static_cast<size_t>(back)] : nullptr;
      };
      int key = line->GetKeySignatureAt(c.GetPos());
      std::vector<int> nowTied;
      for (int index = 0; index >= 0 && index < c.GetNoteCount();) {
        KNoteEvent event;
        if (c.MakeMidiEvent(index, event, context, 100, key) == 0) break;
        if (event.velocity == 0) continue;
        const auto was = std::find(tied.begin(), tied.end(), event.note);
        if (was == tied.end()) {
          parts[label].push_back({clock, event.note});
        }
        if (event.tied || std::find(tieColumns.begin(), tieColumns.end(), c.GetPos()) != tieColumns.end())
          nowTied.push_back(event.note);
      }
      tied = nowTied;
      int length = std::max(c.GetTicks(0, true), c.GetTicks(1, true));
      for (const auto& [from, to] : spans) {
        if (c.GetPos() >= from && c.GetPos() <= to) length = length * 2 / 3;
      }
      clock += length;
    }
  }
  for (auto& [name, notes] : parts) {
    std::stable_sort(notes.begin(), notes.end(), [](const Played& a, const Played& b) {
      return a.tick != b.tick ? a.tick < b.tick : a.key < b.key;
    });
  }
  return parts;
}

}  // namespace importtest

namespace importtest {

std::string Dump(const CStavlinDoc& doc) {
  std::string out;
  for (KListLine* line : Staves(doc)) {
    out += "line " + std::to_string(line->GetType()) + " " + line->GetLabelName().Str() + ":";
    const CObList& list = *line->GetObjList();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
      const auto* c = dynamic_cast<const KChord*>(list.GetNext(pos));
      if (c == nullptr) continue;
      out += " [" + std::to_string(c->GetPos()) + "/" + std::to_string(c->GetNoteStyle());
      for (int i = 0; i < c->GetNoteCount(); ++i)
        out += " " + std::to_string(c->GetNote(i).code) + "@" + std::to_string(c->GetNote(i).position);
      out += "]";
    }
    out += "\n";
  }
  return out;
}

}  // namespace importtest

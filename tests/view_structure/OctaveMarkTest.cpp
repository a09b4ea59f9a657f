// An octave text over a staff bracketed with tablature: the staff keeps the
// text, and the tablature under it is fingered again an octave off, once.

#include <string>
#include <vector>

#include "StructureTestSupport.h"
#include "model/KExtendedObj.h"

namespace {

using namespace structtest;

class OctaveMark : public StructureFixture {
 protected:
  void SetUp() override {
    StructureFixture::SetUp();
    AddText("title");
    staff_ = Add(new KStaffLine(0, 0, 0));
    tab_ = Add(new KTabLine(0, kGuitar, 0));
    Group(3, {staff_, tab_}, true);
    Open(1, 0);
    view->m_mutualTranslation = 1;
    view->m_independentEditing = 0;
  }
  // Notes typed on the staff (a letter and a duration each): the tablature
  // takes them too.
  void Type(const char* keys) {
    for (const char* key = keys; *key != 0; ++key) view->OnChar(static_cast<UINT>(*key), 1, 0);
  }
  // The pitch numbers the tablature plays, column by column.
  std::vector<int> TabPitches() const {
    auto* tab = dynamic_cast<KTabLine*>(doc.GetLineAt(view->GetDisplayEntry(2).line));
    std::vector<int> pitches;
    for (POSITION node = tab->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(tab->GetObjList()->GetNext(node));
      for (int i = 0; column != nullptr && i < column->GetNoteCount(); ++i) {
        const int pitch = tab->GetPitchAt(column->GetNote(i).position % 10, column->GetNote(i).code);
        if (pitch >= 0) pitches.push_back(pitch);
      }
    }
    return pitches;
  }
  void Mark(const char* text) {
    auto* mark = new KExtendedObj(0, 10, 7, 0, 0, 0, 0);
    mark->SetText(text);
    view->ApplyOctaveMarks(3, view->GetDisplayEntry(1).line, view->GetDisplayLineObj(1), mark);
  }
  POSITION staff_ = nullptr;
  POSITION tab_ = nullptr;
};

struct MarkCase {
  const char* name;
  int row;  // the staff step the first note is typed at
  const char* text;
  int shift;
  bool copied;  // the text goes onto the tablature as a text
};
void PrintTo(const MarkCase& c, std::ostream* os) { *os << c.name; }

class OctaveText : public OctaveMark, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(OctaveText, MovesTheTablatureUnderItOnce) {
  view->m_caretRow = GetParam().row;
  Type("qeq");
  const std::vector<int> before = TabPitches();
  ASSERT_EQ(before.size(), 2u) << "the typed notes reached the tablature";
  Mark(GetParam().text);
  // The text reaches over the first column only.
  std::vector<int> wanted = before;
  wanted[0] += GetParam().shift;
  EXPECT_EQ(TabPitches(), wanted);
  EXPECT_EQ(view->GetDisplayLineObj(2)->GetAttachmentCount(), GetParam().copied ? 1 : 0);
  EXPECT_EQ(view->GetDisplayLineObj(1)->GetAttachmentCount(), 1);
  EXPECT_EQ(view->GetDisplayLineObj(2)->GetGroupId(), 3) << "the new line keeps the old one's group";
  Mark(GetParam().text);
  EXPECT_EQ(TabPitches(), wanted) << "a second text finds the octave in place";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OctaveText,
    ::testing::Values(MarkCase{"8va", 18, "8va", 12, false},
                      MarkCase{"octave down", 11, "Octave DOWN", -12, false},
                      MarkCase{"only the word octave is a plain text", 18, "octave", 0, true},
                      MarkCase{"a note no string reaches stays", 25, "8vb", 0, false}),
    [](const ::testing::TestParamInfo<MarkCase>& info) { return viewtest::CaseName(info.param.name); });

}  // namespace

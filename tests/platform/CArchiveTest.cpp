#include "ArchiveTestClasses.h"

#include "platform/CArchive.h"
#include "platform/CFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// A piece of a byte fixture: numbers, or the bytes of a text.
struct Piece {
  Piece(std::initializer_list<int> numbers) {
    for (int n : numbers) bytes.push_back(static_cast<BYTE>(n));
  }
  Piece(const char* text) : bytes(text, text + std::strlen(text)) {}
  std::vector<BYTE> bytes;
};

std::vector<BYTE> Bytes(std::initializer_list<Piece> pieces) {
  std::vector<BYTE> out;
  for (const Piece& piece : pieces) out.insert(out.end(), piece.bytes.begin(), piece.bytes.end());
  return out;
}

void Append(std::vector<BYTE>& out, const std::vector<BYTE>& more) {
  out.insert(out.end(), more.begin(), more.end());
}

// Loads a list from the bytes. What was read stays in the list even when the
// load throws, as it does for the lines of a document.
void LoadList(const std::vector<BYTE>& bytes, CObList& list, bool allowReferences = true) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  ar.SetObjectReferencesAllowed(allowReferences);
  list.Serialize(ar);
}

// The cause of the CArchiveException that loading a list throws, or -1.
int LoadFailure(const std::vector<BYTE>& bytes, bool allowReferences = true) {
  CObList list;
  int cause = -1;
  try {
    LoadList(bytes, list, allowReferences);
  } catch (const CArchiveException& e) {
    cause = e.m_cause;
  }
  DeleteElements(list);
  return cause;
}

TNote* NoteAt(const CObList& list, int index) {
  CObject* element = list.GetAt(list.FindIndex(index));
  return element != nullptr && element->IsKindOf(RUNTIME_CLASS(TNote)) ? static_cast<TNote*>(element)
                                                                       : nullptr;
}

class CArchiveTest : public testing::Test {
 protected:
  void SetUp() override { RegisterTestClasses(); }
};

TEST_F(CArchiveTest, NumbersAreLittleEndianOfTheirStoredWidth) {
  const std::vector<BYTE> expected = Bytes({{0x12, 'A', 0x56, 0x34, 0xFE, 0xFF, 0xEF, 0xCD, 0xAB, 0x89},
                                            {0xFD, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xC0, 0x3F},
                                            {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0xC0}});
  const std::vector<BYTE> stored = StoreToBytes([](CArchive& ar) {
    ar << BYTE{0x12} << 'A' << WORD{0x3456} << short{-2} << DWORD{0x89ABCDEF} << -3 << 1.5f << -2.25;
  });
  EXPECT_EQ(stored, expected);

  CMemFile file(expected);
  CArchive ar(&file, CArchive::load);
  BYTE b;
  char c;
  WORD w;
  short s;
  DWORD d;
  LONG l;
  float f;
  double x;
  ar >> b >> c >> w >> s >> d >> l >> f >> x;
  EXPECT_EQ(b, 0x12);
  EXPECT_EQ(c, 'A');
  EXPECT_EQ(w, 0x3456);
  EXPECT_EQ(s, -2);
  EXPECT_EQ(d, 0x89ABCDEFu);
  EXPECT_EQ(l, -3);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(x, -2.25);
  EXPECT_THROW(ar >> b, CArchiveException);
}

TEST_F(CArchiveTest, StringLengthPrefixGrowsWithTheLength) {
  struct Case {
    int length;
    std::vector<BYTE> prefix;
  };
  const Case cases[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    // Every byte value occurs, NUL included.
    std::string content;
    for (int i = 0; i < c.length; ++i) content += static_cast<char>(i * 7);
    const CString text{std::string_view(content)};

    std::vector<BYTE> expected = c.prefix;
    expected.insert(expected.end(), content.begin(), content.end());
    EXPECT_EQ(StoreToBytes([&text](CArchive& ar) { ar << text; }), expected) << c.length;

    CMemFile file(expected);
    CArchive ar(&file, CArchive::load);
    CString loaded("old");
    ar >> loaded;
    EXPECT_EQ(loaded, text) << c.length;
  }
}

TEST_F(CArchiveTest, WideStringsLoadAsWindows1252) {
  std::vector<BYTE> longForm = Bytes({{0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01}});
  for (int i = 0; i < 256; ++i) Append(longForm, {'z', 0x00});
  struct Case {
    std::vector<BYTE> bytes;
    std::string text;
  };
  const Case cases[] = {
      {Bytes({{0xFF, 0xFE, 0xFF, 0x03, 'A', 0x00, 0xAC, 0x20, 0xE9, 0x00}}), "A\x80\xE9"},
      {Bytes({{0xFF, 0xFE, 0xFF, 0x00}}), ""},
      {Bytes({{0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}}), "?"},  // U+1F600, a surrogate pair
      {Bytes({{0xFF, 0xFE, 0xFF, 0x02, 0x00, 0xD8, 'b', 0x00}}), "?b"},  // unpaired surrogate
      {longForm, std::string(256, 'z')},
  };
  for (const Case& c : cases) {
    CMemFile file(c.bytes);
    CArchive ar(&file, CArchive::load);
    CString loaded;
    ar >> loaded;
    EXPECT_EQ(loaded.Str(), c.text);
  }

  CMemFile twoMarkers(Bytes({{0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x00}}));
  CArchive ar(&twoMarkers, CArchive::load);
  CString loaded;
  try {
    ar >> loaded;
    ADD_FAILURE() << "a second wide marker was accepted";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::generic);
  }
}

TEST_F(CArchiveTest, CountsTakeAWordOrAMarkerAndADword) {
  struct Case {
    DWORD count;
    std::vector<BYTE> bytes;
  };
  const Case cases[] = {
      {0, {0x00, 0x00}},
      {0xFFFE, {0xFE, 0xFF}},
      {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StoreToBytes([&c](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes) << c.count;
    CMemFile file(c.bytes);
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(ar.ReadCount(), c.count);
  }
}

// Each fixture loads into objects that pass its check, and stores back to the
// same bytes.
TEST_F(CArchiveTest, ObjectFixturesLoadAndStoreBackByteForByte) {
  struct Fixture {
    const char* name;
    std::vector<BYTE> bytes;
    std::function<void(const CObList&)> check;
  };
  const Fixture fixtures[] = {
      {"two objects of one class: the class record once, then a class reference",
       Bytes({{0x02, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00},
              "TNote",
              {0x01, 0x00, 0x01},
              "a",
              {0x01, 0x80, 0x02, 0x00, 0x00}}),
       [](const CObList& list) {
         ASSERT_EQ(list.GetCount(), 2);
         ASSERT_NE(NoteAt(list, 0), nullptr);
         ASSERT_NE(NoteAt(list, 1), nullptr);
         EXPECT_NE(NoteAt(list, 0), NoteAt(list, 1));
         EXPECT_EQ(NoteAt(list, 0)->pos, 1);
         EXPECT_EQ(NoteAt(list, 0)->text, "a");
         EXPECT_EQ(NoteAt(list, 1)->pos, 2);
       }},
      {"the same object twice, then null",
       Bytes({{0x03, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00},
              "TNote",
              {0x07, 0x00, 0x00},
              {0x02, 0x00},
              {0x00, 0x00}}),
       [](const CObList& list) {
         ASSERT_EQ(list.GetCount(), 3);
         EXPECT_NE(list.GetHead(), nullptr);
         EXPECT_EQ(list.GetAt(list.FindIndex(1)), list.GetHead());
         EXPECT_EQ(list.GetTail(), nullptr);
       }},
      {"a group owning a note, a derived note and a lead note of an earlier class",
       Bytes({{0x01, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x06, 0x00},
              "TGroup",
              {0x07, 0x02, 0x00},
              {0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00},
              "TNote",
              {0x03, 0x00, 0x01},
              "x",
              {0xFF, 0xFF, 0x5A, 0x00, 0x07, 0x00},
              "TAccent",
              {0x04, 0x00, 0x00, 0x09},
              {0x03, 0x80, 0x05, 0x00, 0x00}}),
       [](const CObList& list) {
         ASSERT_EQ(list.GetCount(), 1);
         const auto* group = dynamic_cast<const TGroup*>(list.GetHead());
         ASSERT_NE(group, nullptr);
         EXPECT_EQ(group->id, 7);
         ASSERT_EQ(group->children.GetCount(), 2);
         EXPECT_EQ(NoteAt(group->children, 0)->text, "x");
         const auto* accent = dynamic_cast<const TAccent*>(group->children.GetTail());
         ASSERT_NE(accent, nullptr);
         EXPECT_EQ(accent->pos, 4);
         EXPECT_EQ(accent->strength, 9);
         ASSERT_NE(group->lead, nullptr);
         EXPECT_EQ(group->lead->GetRuntimeClass(), RUNTIME_CLASS(TNote));
         EXPECT_EQ(group->lead->pos, 5);
       }},
  };
  for (const Fixture& f : fixtures) {
    SCOPED_TRACE(f.name);
    CObList list;
    LoadList(f.bytes, list);
    f.check(list);
    EXPECT_EQ(StoreToBytes([&list](CArchive& ar) { list.Serialize(ar); }), f.bytes);
    DeleteElements(list);
  }
}

TEST_F(CArchiveTest, EntriesFrom0x7FFFOnUseTheLongReferenceForm) {
  constexpr int kNotes = 70000;
  CObList notes;
  for (int i = 0; i < kNotes; ++i) notes.AddTail(new TNote(static_cast<WORD>(i), ""));
  CObList refs;                                       // shares the notes and its own accents
  refs.AddTail(notes.GetAt(notes.FindIndex(32764)));  // entry 0x7FFE, the last of the short form
  refs.AddTail(notes.GetAt(notes.FindIndex(32765)));  // entry 0x7FFF, the first of the long form
  auto* accent = new TAccent(1, 2);
  refs.AddTail(accent);
  refs.AddTail(new TAccent(3, 4));
  refs.AddTail(accent);

  // Entry 1 is the class TNote, entries 2 to 70001 the notes; then the
  // accent class is entry 70002 (0x11172) and the first accent 70003.
  std::vector<BYTE> expected =
      Bytes({{0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00}, "TNote"});
  for (int i = 0; i < kNotes; ++i) {
    if (i > 0) Append(expected, {0x01, 0x80});
    Append(expected, {static_cast<BYTE>(i & 0xFF), static_cast<BYTE>((i >> 8) & 0xFF), 0x00});
  }
  Append(expected, Bytes({{0x05, 0x00},
                          {0xFE, 0x7F},
                          {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x00},
                          {0xFF, 0xFF, 0x5A, 0x00, 0x07, 0x00},
                          "TAccent",
                          {0x01, 0x00, 0x00, 0x02},
                          {0xFF, 0x7F, 0x72, 0x11, 0x01, 0x80, 0x03, 0x00, 0x00, 0x04},
                          {0xFF, 0x7F, 0x73, 0x11, 0x01, 0x00}}));
  const std::vector<BYTE> stored = StoreToBytes([&](CArchive& ar) {
    notes.Serialize(ar);
    refs.Serialize(ar);
  });
  EXPECT_EQ(stored, expected);
  // The first two references belong to `notes`; the accents to `refs`.
  refs.RemoveHead();
  refs.RemoveHead();
  DeleteElements(refs);
  DeleteElements(notes);

  CObList loadedNotes;
  CObList loadedRefs;
  {
    CMemFile file(expected);
    CArchive ar(&file, CArchive::load);
    loadedNotes.Serialize(ar);
    loadedRefs.Serialize(ar);
  }
  ASSERT_EQ(loadedNotes.GetCount(), kNotes);
  ASSERT_EQ(loadedRefs.GetCount(), 5);
  EXPECT_EQ(NoteAt(loadedNotes, kNotes - 1)->pos, (kNotes - 1) & 0xFFFF);
  EXPECT_EQ(loadedRefs.GetHead(), loadedNotes.GetAt(loadedNotes.FindIndex(32764)));
  EXPECT_EQ(loadedRefs.GetAt(loadedRefs.FindIndex(1)), loadedNotes.GetAt(loadedNotes.FindIndex(32765)));
  EXPECT_EQ(loadedRefs.GetTail(), loadedRefs.GetAt(loadedRefs.FindIndex(2)));
  EXPECT_EQ(dynamic_cast<TAccent*>(loadedRefs.GetAt(loadedRefs.FindIndex(3)))->strength, 4);
  EXPECT_EQ(StoreToBytes([&](CArchive& ar) {
              loadedNotes.Serialize(ar);
              loadedRefs.Serialize(ar);
            }),
            expected);
  loadedRefs.RemoveHead();
  loadedRefs.RemoveHead();
  DeleteElements(loadedRefs);
  DeleteElements(loadedNotes);
}

TEST_F(CArchiveTest, TruncationAtEveryOffsetFailsWithEndOfFile) {
  // Two groups, nested lists, a derived class and a long string.
  TGroup* first = new TGroup;
  first->id = 1;
  first->children.AddTail(new TNote(1, "one"));
  first->children.AddTail(new TAccent(2, 3));
  first->lead = new TNote(3, std::string(300, 'L').c_str());
  TGroup* second = new TGroup;
  second->children.AddTail(new TAccent(4, 5));
  CObList groups;
  groups.AddTail(first);
  groups.AddTail(second);
  const std::vector<BYTE> bytes = StoreToBytes([&groups](CArchive& ar) { groups.Serialize(ar); });
  DeleteElements(groups);

  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    const std::vector<BYTE> truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(LoadFailure(truncated), CArchiveException::endOfFile) << "cut at " << cut;
  }
  EXPECT_EQ(LoadFailure(bytes), -1);
}

TEST_F(CArchiveTest, DamagedObjectStreamsFailWithTheirCause) {
  const std::vector<BYTE> oneNote =
      Bytes({{0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00}, "TNote", {0x01, 0x00, 0x00}});
  const auto twoElements = [&oneNote](std::initializer_list<int> second) {
    std::vector<BYTE> out = Bytes({{0x02, 0x00}});
    Append(out, oneNote);
    Append(out, Bytes({second}));
    return out;
  };
  const std::vector<BYTE> groupHeader =
      Bytes({{0x01, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x06, 0x00}, "TGroup", {0x01, 0x00, 0x00}});
  const auto groupWithLead = [&groupHeader](std::initializer_list<int> lead) {
    std::vector<BYTE> out = groupHeader;
    Append(out, Bytes({lead}));
    return out;
  };
  std::vector<BYTE> longName = Bytes({{0x01, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x40, 0x00}});
  Append(longName, std::vector<BYTE>(64, 'N'));

  struct Case {
    const char* name;
    std::vector<BYTE> bytes;
    bool allowReferences;
    int cause;
  };
  const Case cases[] = {
      {"other schema", Bytes({{0x01, 0x00, 0xFF, 0xFF, 0x5B, 0x00, 0x05, 0x00}, "TNote", {0x01, 0x00, 0x00}}),
       true, CArchiveException::badSchema},
      {"unknown class",
       Bytes({{0x01, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00}, "TNope", {0x01, 0x00, 0x00}}), true,
       CArchiveException::badClass},
      {"name differing in case", Bytes({{0x01, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00}, "tnote"}), true,
       CArchiveException::badClass},
      {"class name of 64 bytes", longName, true, CArchiveException::badClass},
      {"class that cannot be stored", Bytes({{0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x06, 0x00}, "TPlain"}),
       true, CArchiveException::badClass},
      {"class reference before any class", Bytes({{0x01, 0x00, 0x01, 0x80}}), true,
       CArchiveException::badIndex},
      {"class reference 0", twoElements({0x00, 0x80}), true, CArchiveException::badIndex},
      {"class reference beyond the entries", twoElements({0x09, 0x80}), true, CArchiveException::badIndex},
      {"class reference to an object", twoElements({0x02, 0x80}), true, CArchiveException::badIndex},
      {"long class reference to an object", twoElements({0xFF, 0x7F, 0x02, 0x00, 0x00, 0x80}), true,
       CArchiveException::badIndex},
      {"object reference to a class", twoElements({0x01, 0x00}), true, CArchiveException::badIndex},
      {"object reference beyond the entries", twoElements({0x03, 0x00}), true, CArchiveException::badIndex},
      {"long object reference beyond the entries", twoElements({0xFF, 0x7F, 0x00, 0x00, 0x01, 0x00}), true,
       CArchiveException::badIndex},
      {"object reference when references are refused", twoElements({0x02, 0x00}), false,
       CArchiveException::badIndex},
      {"new object of a class other than requested", groupWithLead({0x01, 0x80}), true,
       CArchiveException::badClass},
      {"reference to an object other than requested", groupWithLead({0x02, 0x00}), true,
       CArchiveException::badClass},
  };
  for (const Case& c : cases) EXPECT_EQ(LoadFailure(c.bytes, c.allowReferences), c.cause) << c.name;

  // References and null stay fine when they are allowed, and null always.
  EXPECT_EQ(LoadFailure(twoElements({0x02, 0x00})), -1);
  EXPECT_EQ(LoadFailure(twoElements({0x00, 0x00}), false), -1);
}

TEST_F(CArchiveTest, HugeCountsAndLengthsFailAtTheEndOfTheData) {
  const std::vector<BYTE> cases[] = {
      Bytes({{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}),  // 4 billion objects
      Bytes({{0x01, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00},
             "TNote",
             {0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 'b'}}),  // a 4 GB string
      Bytes({{0x01, 0x00, 0xFF, 0xFF, 0x5A, 0x00, 0x05, 0x00},
             "TNote",
             {0x01, 0x00, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}}),  // 8 GB wide
  };
  for (const std::vector<BYTE>& bytes : cases) EXPECT_EQ(LoadFailure(bytes), CArchiveException::endOfFile);
}

TEST_F(CArchiveTest, MisuseFailsWithTheMatchingCause) {
  const auto causeOf = [](const std::function<void()>& action) {
    try {
      action();
    } catch (const CArchiveException& e) {
      return e.m_cause;
    }
    return -1;
  };
  CMemFile file;
  CArchive storing(&file, CArchive::store);
  CArchive loading(&file, CArchive::load);
  BYTE b = 0;
  TPlain plain;
  EXPECT_EQ(causeOf([&] { storing >> b; }), CArchiveException::writeOnly);
  EXPECT_EQ(causeOf([&] { storing.ReadObject(nullptr); }), CArchiveException::writeOnly);
  EXPECT_EQ(causeOf([&] { loading << b; }), CArchiveException::readOnly);
  EXPECT_EQ(causeOf([&] { loading.WriteObject(nullptr); }), CArchiveException::readOnly);
  EXPECT_EQ(causeOf([&] { storing << &plain; }), CArchiveException::badClass);
  storing.Abort();
  EXPECT_EQ(causeOf([&] { storing << b; }), CArchiveException::generic);
}

TEST_F(CArchiveTest, ClosingALoadingArchiveLeavesTheFileAtWhatWasRead) {
  CMemFile file(Bytes({{0x01, 0x00, 0x02, 0x00}}));
  WORD value = 0;
  {
    CArchive first(&file, CArchive::load);
    first >> value;
    first.Close();
  }
  EXPECT_EQ(value, 1);
  EXPECT_EQ(file.GetPosition(), 2u);
  CArchive second(&file, CArchive::load);
  second >> value;
  EXPECT_EQ(value, 2);
}

}  // namespace

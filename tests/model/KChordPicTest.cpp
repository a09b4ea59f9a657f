#include <string>

#include "AttachmentTestSupport.h"
#include "model/KChordPic.h"

namespace {

class KChordPicTest : public ModelTest {
 protected:
  KChordPicTest() { CRuntimeClass::Register(RUNTIME_CLASS(KChordPic)); }
};

constexpr const char* kShape = "0231000x1 2     1000";  // 20 characters, finger label "x1 2"

// The record as the file holds it: position word, name, setting byte, shape.
RecordBytes DiagramRecord(int pos, std::string_view name, int setting, std::string_view shape) {
  RecordBytes r;
  r.Word(pos).String(name).Byte(setting).String(shape);
  return r;
}

TEST_F(KChordPicTest, RecordMatchesHandBuiltBytesAndRoundTrips) {
  KChordPic diagram(12, "Am7", kShape, 3);
  const Bytes bytes = DiagramRecord(12, "Am7", 3, kShape);
  ASSERT_EQ(StoreFields(diagram), bytes);

  auto loaded = Loaded<KChordPic>(bytes);
  EXPECT_EQ(loaded->GetPos(), 12);
  EXPECT_EQ(loaded->GetName(), "Am7");
  EXPECT_EQ(loaded->GetShape(), kShape);
  EXPECT_EQ(loaded->GetSetting(), 3);
  EXPECT_EQ(loaded->GetValue(), 1);
  EXPECT_EQ(loaded->GetWidth(1), -1);
  EXPECT_EQ(loaded->GetDiagramObj(), nullptr);
  EXPECT_EQ(StoreFields(*loaded), bytes);
}

TEST_F(KChordPicTest, ShortShapeOrSettingBelowOneBecomesTheDefault) {
  struct Case {
    std::string shape;
    int settingByte;
    std::string loadedShape;
    int loadedSetting;
  };
  const Case cases[] = {
      {kShape, 127, kShape, 127},
      {"0000000", 1, "0000000", 1},                // seven characters are enough
      {"000000", 5, KChordPic::kDefaultShape, 1},  // six are not
      {kShape, 0, KChordPic::kDefaultShape, 1},    // setting 0
      {kShape, 200, KChordPic::kDefaultShape, 1},  // reads as -56
      {"", 9, KChordPic::kDefaultShape, 1},
  };
  for (const Case& c : cases) {
    const Bytes bytes = DiagramRecord(1, "C", c.settingByte, c.shape);
    auto loaded = Loaded<KChordPic>(bytes);
    EXPECT_EQ(loaded->GetShape(), c.loadedShape.c_str()) << c.shape << " " << c.settingByte;
    EXPECT_EQ(loaded->GetSetting(), c.loadedSetting) << c.shape << " " << c.settingByte;

    // Storing writes the values as they were, then the object is normalised too.
    KChordPic made(1, "C", c.shape.c_str(), static_cast<signed char>(c.settingByte));
    EXPECT_EQ(StoreFields(made), bytes);
    EXPECT_EQ(made.GetShape(), c.loadedShape.c_str());
    EXPECT_EQ(made.GetSetting(), c.loadedSetting);
  }
}

TEST_F(KChordPicTest, ExtensionBlockBeforeTheSettingIsSkipped) {
  struct Case {
    Bytes block;
    bool warns;
  };
  const Case cases[] = {
      {{250, 0}, false},
      {{250, 3, 7, 8, 9}, true},
  };
  for (const Case& c : cases) {
    ResetModelGlobals();
    m_ui.ClearRecords();
    RecordBytes r;
    r.Word(4).String("G");
    for (BYTE b : c.block) r.Byte(b);
    r.Byte(2).String(kShape);
    auto loaded = Loaded<KChordPic>(r);
    EXPECT_EQ(loaded->GetSetting(), 2);
    EXPECT_EQ(loaded->GetShape(), kShape);
    EXPECT_EQ(m_ui.CountOf(7089), c.warns ? 1 : 0) << c.block.size();
  }
}

TEST_F(KChordPicTest, SettingWhoseLowByteIsTheMarkerStaysReadable) {
  // A plain 250 at the setting's place would be read as an extension block.
  for (int setting : {250, -6}) {
    KChordPic diagram(3, "D", kShape, setting);
    RecordBytes expected;
    expected.Word(3).String("D").Byte(250).Byte(0).Byte(250).String(kShape);
    ASSERT_EQ(StoreFields(diagram), expected.Get()) << setting;
    auto loaded = Loaded<KChordPic>(expected);
    EXPECT_EQ(loaded->GetName(), "D");
    EXPECT_EQ(loaded->GetSetting(), 1);  // -6, normalised
    EXPECT_EQ(m_ui.CountOf(7089), 0);
  }
}

TEST_F(KChordPicTest, TruncatedRecordFailsAtEveryOffsetAndChangesNothing) {
  RecordBytes full;
  full.Word(9).String("F#m").Byte(250).Byte(2).Byte(1).Byte(2).Byte(4).String(kShape);
  for (std::size_t n = 0; n < full.Get().size(); ++n) {
    const Bytes cut(full.Get().begin(), full.Get().begin() + std::ptrdiff_t(n));
    KChordPic diagram(1, "E", "0000000", 5);
    CMemFile file(cut.data(), cut.size());
    CArchive ar(&file, CArchive::load);
    try {
      diagram.Serialize(ar);
      ADD_FAILURE() << "no error at " << n;
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << n;
    }
    EXPECT_EQ(diagram.GetPos(), 1) << n;
    EXPECT_EQ(diagram.GetName(), "E") << n;
    EXPECT_EQ(diagram.GetSetting(), 5) << n;
    EXPECT_EQ(diagram.GetShape(), "0000000") << n;
  }
}

TEST_F(KChordPicTest, WidthComesFromTheNameUnlessSetExplicitly) {
  struct Case {
    const char* name;
    int explicitWidth;  // -1: none
    int width;
    int explicitOnly;
  };
  const Case cases[] = {
      {"C#", -1, 16, -1},
      {"", -1, 0, -1},
      {"Cmaj7", 30, 30, 30},
      {"Cmaj7", 0, 40, 40},  // 0 is not an explicit width, yet not "none" either
  };
  for (const Case& c : cases) {
    KChordPic diagram(0, c.name, kShape, 1);
    diagram.SetWidth(c.explicitWidth);
    EXPECT_EQ(diagram.GetWidth(0), c.width) << c.name << " " << c.explicitWidth;
    EXPECT_EQ(diagram.GetWidth(1), c.explicitOnly) << c.name << " " << c.explicitWidth;
  }
}

TEST_F(KChordPicTest, FingerLabelAndFlagsNeedAFullShape) {
  struct Case {
    const char* shape;
    const char* label;
    int flag2;
    int flag3;
  };
  const Case cases[] = {
      {kShape, "x1 2", 1, 0},
      {KChordPic::kDefaultShape, "", 0, 0},
      {"0231000x1 2     100", "", 0, 0},  // 19 characters
      {"0000000ABCDEFGH01100", "ABCDEFGH", 1, 1},
  };
  for (const Case& c : cases) {
    KChordPic diagram(0, "A", c.shape, 1);
    EXPECT_EQ(diagram.GetFingerLabel(), c.label) << c.shape;
    EXPECT_EQ(diagram.IsShapeFlagSet(2), c.flag2) << c.shape;
    EXPECT_EQ(diagram.IsShapeFlagSet(3), c.flag3) << c.shape;
  }
  KChordPic diagram(0, "A", kShape, 1);
  for (int i : {-100, -15, 6, 1000, INT32_MAX}) EXPECT_EQ(diagram.IsShapeFlagSet(i), 0) << i;
}

}  // namespace

// The committed pictures of the symbol toolboxes: every palette, fretboard,
// fret-number strip, the keyboard, the marks and the bracket styles load from
// the resource folder with the size the toolbox and the dialog measure them
// by, so that a click's cell and the cell the user sees are the same.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "dialogs/toolbox/KInstrumentPictures.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "platform/GdiObjects.h"
#include "platform/qt/KQtSymbolLoader.h"

namespace {

using namespace toolbox;

CSize LoadedSize(int id) {
  KQtSymbolLoader loader(QString(STAVLIN_RESOURCE_DIR));
  CBitmap bitmap;
  if (!loader.Load(id, bitmap)) return CSize(0, 0);
  return bitmap.GetSize();
}

TEST(ToolboxPictures, EveryPaletteIsItsGridOfCells) {
  for (int kind = 0; kind < kKindCount; ++kind) {
    if (!IsPalette(kind)) continue;
    const KToolBoxKind& k = KindInfo(kind);
    const CSize size = LoadedSize(k.pictureId);
    EXPECT_EQ(size.cx, k.columns * k.cellWidth) << "palette " << kind;
    EXPECT_EQ(size.cy, k.rows * k.cellHeight) << "palette " << kind;
  }
}

TEST(ToolboxPictures, FretboardsHaveARowPerStringAndStripsTheirWidth) {
  for (int strings = 2; strings <= 8; ++strings) {
    const CSize size = LoadedSize(KFretboard::kFirstPictureId + strings);
    EXPECT_EQ(size.cx, KFretboard::kPictureWidth) << strings << " strings";
    EXPECT_EQ(size.cy, KFretboard::kRowHeight * strings + 2) << strings << " strings";
  }
  for (int id : {KFretboard::kPlainLabels, KFretboard::kDulcimerLabels, KFretboard::kMixolydianLabels,
                 KFretboard::kOtherLabels}) {
    const CSize size = LoadedSize(id);
    EXPECT_EQ(size.cx, KFretboard::kPictureWidth) << id;
    EXPECT_EQ(size.cy, KFretboard::kLabelStripHeight) << id;
  }
  EXPECT_EQ(LoadedSize(KFretboard::kMarkPicture).cx, KFretboard::kMarkSize);
}

TEST(ToolboxPictures, TheKeyboardHasItsEightyEightKeys) {
  const CSize size = LoadedSize(KPianoKeyboard::kPictureId);
  EXPECT_EQ(size.cx, KPianoKeyboard::kWidth);
  EXPECT_EQ(size.cy, KPianoKeyboard::kHeight);
  EXPECT_EQ(LoadedSize(KPianoKeyboard::kMarkPicture).cx, KPianoKeyboard::kMarkSize);
  // The keys are where the toolbox looks for them: black above, white below.
  const QImage keys(QString(STAVLIN_RESOURCE_DIR) + "/symbols/" +
                    QString::number(KPianoKeyboard::kPictureId) + ".png");
  ASSERT_FALSE(keys.isNull());
  for (int x = 1; x < KPianoKeyboard::kWidth - 1; x += 3) {
    const int note = KPianoKeyboard::NoteAt(x, 10);
    const bool dark = qGray(keys.pixel(x, 10)) < 100;
    // Key edges are grey lines; only the black keys are dark.
    if (KPianoKeyboard::IsBlackKey(note)) {
      EXPECT_TRUE(dark) << "x " << x << " should be the black key " << note;
    } else if (x % 14 != 0) {
      EXPECT_FALSE(dark) << "x " << x << " should be the white key " << note;
    }
  }
}

TEST(ToolboxPictures, TheBracketDialogHasAPictureForEachStyle) {
  for (int style = 0; style < 18; ++style) {
    const int id = style < 16 ? 5334 + style : 5130 + style - 16;
    const CSize size = LoadedSize(id);
    EXPECT_GT(size.cx, 0) << "style " << style;
    EXPECT_GT(size.cy, 0) << "style " << style;
  }
}

}  // namespace

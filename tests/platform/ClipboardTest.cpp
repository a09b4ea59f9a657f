#include "platform/Clipboard.h"

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
  std::vector<BYTE> out;
  for (int v : values) out.push_back(static_cast<BYTE>(v));
  return out;
}

TEST(Clipboard, PrivateFormatsAreNumberedByNameForTheWholeProcess) {
  MemoryClipboard a;
  MemoryClipboard b;
  const UINT stavlin = a.RegisterFormat("Stavlin");
  EXPECT_GE(stavlin, 0xC000u);
  EXPECT_EQ(b.RegisterFormat("STAVLIN"), stavlin);
  EXPECT_EQ(RegisterClipboardFormat("stavlin"), stavlin);
  EXPECT_NE(a.RegisterFormat("Stavlin Chords"), stavlin);
  EXPECT_EQ(ClipboardPort::FormatName(stavlin), "Stavlin");
  EXPECT_EQ(a.RegisterFormat(""), 0u);
}

TEST(Clipboard, PrivateBytesRoundTripWhileOpen) {
  MemoryClipboard clip;
  const UINT format = clip.RegisterFormat("Stavlin");
  const std::vector<BYTE> words = Bytes({0xC1, 0x7F, 0x00, 0x00, 0xFF, 0x01});  // NULs are data here

  ASSERT_TRUE(clip.Open());
  EXPECT_FALSE(clip.Open());  // only one user at a time
  ASSERT_TRUE(clip.Empty());
  ASSERT_TRUE(clip.SetData(format, words));
  ASSERT_TRUE(clip.SetData(CF_TEXT, Bytes({'a', '\r', '\n', 0, 'x'})));
  ASSERT_TRUE(clip.Close());

  EXPECT_TRUE(clip.IsFormatAvailable(format));
  EXPECT_FALSE(clip.GetData(format).has_value());  // closed
  ASSERT_TRUE(clip.Open());
  EXPECT_EQ(clip.GetData(format), words);
  EXPECT_EQ(clip.GetData(CF_TEXT), Bytes({'a', '\r', '\n'}));
  clip.Empty();
  EXPECT_FALSE(clip.IsFormatAvailable(format));
  EXPECT_FALSE(clip.GetData(CF_TEXT).has_value());
  clip.Close();
}

TEST(Clipboard, RefusesDataWhenClosedForUnknownFormatsOrWhenStoringFails) {
  MemoryClipboard clip;
  EXPECT_FALSE(clip.SetData(CF_TEXT, Bytes({'a'})));
  EXPECT_FALSE(clip.Empty());
  EXPECT_FALSE(clip.Close());
  ASSERT_TRUE(clip.Open());
  EXPECT_FALSE(clip.SetData(0xBFFF, Bytes({1})));
  EXPECT_FALSE(clip.SetData(0xFFFF, Bytes({1})));  // never registered
  clip.SetStoreFails(true);
  EXPECT_FALSE(clip.SetData(CF_TEXT, Bytes({'a'})));
  EXPECT_FALSE(clip.IsFormatAvailable(CF_TEXT));
  clip.Close();
}

TEST(Clipboard, WindowsCallsGoToTheInstalledClipboard) {
  MemoryClipboard clip;
  ClipboardPort* previous = SetClipboardPort(&clip);
  const UINT format = RegisterClipboardFormat("Stavlin");
  ASSERT_TRUE(OpenClipboard());
  EmptyClipboard();
  SetClipboardData(format, Bytes({1, 2, 3}));
  CloseClipboard();
  SetClipboardPort(previous);

  EXPECT_FALSE(IsClipboardFormatAvailable(format));  // the process clipboard is untouched
  ASSERT_TRUE(clip.Open());
  EXPECT_EQ(clip.GetData(format), Bytes({1, 2, 3}));
  clip.Close();
}

}  // namespace

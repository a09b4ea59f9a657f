#include <gtest/gtest.h>

#include <memory>

#include "ModelTestSupport.h"
#include "model/KMIDIObj.h"

namespace {

TEST(KMIDIObjTest, DataAndChannelAreClamped) {
  struct Case {
    int data2;
    int stored;
  };
  for (const Case c : {Case{200, 127}, Case{-4, 0}, Case{64, 64}}) {
    KMIDIObj event;
    event.SetData2(c.data2);
    EXPECT_EQ(event.GetData2(), c.stored) << c.data2;
  }
  struct ChannelCase {
    int channel;
    BYTE status;
  };
  for (const ChannelCase c : {ChannelCase{20, 0x9F}, ChannelCase{-1, 0x90}, ChannelCase{5, 0x95}}) {
    KMIDIObj event;
    event.SetStatus(0x93);
    event.SetChannel(c.channel);
    EXPECT_EQ(event.GetStatus(), c.status) << c.channel;
  }
}

TEST(KMIDIObjTest, AmountKeepsMagnitudeAndSignApart) {
  KMidiEventRecord record{};
  record[5] = -2;
  KMIDIObj event(record);
  EXPECT_EQ(event.IsPositive(), 0);
  event.SetMagnitude(5);
  EXPECT_EQ(event.GetMagnitude(), 5);
  EXPECT_EQ(event.IsPositive(), 0);
  event.SetNegative(0);
  EXPECT_EQ(event.IsPositive(), 1);
  event.CopyTo(record);
  EXPECT_EQ(record[5], 5);
  event.SetNegative(1);
  event.CopyTo(record);
  EXPECT_EQ(record[5], -5);
}

TEST(KMIDIObjTest, FlagsSetClearAndReset) {
  KMIDIObj event;
  event.ModifyFlags(0x5, 1);
  event.ModifyFlags(0x1, 0);
  EXPECT_EQ(event.GetFlags(), 0x4u);
  EXPECT_EQ(event.TestFlags(0x6), 1);
  EXPECT_EQ(event.TestFlags(0x1), 0);
  event.ModifyFlags(0, 1);
  EXPECT_EQ(event.GetFlags(), 0u);
}

TEST(KMIDIObjTest, EventRecordTravelsThroughTheObject) {
  const KMidiEventRecord record = {77, 480, 960, 0x00403C90, 99, -7, 1, 2, 3, 0x10, 42};
  const KMIDIObj event(record);
  EXPECT_EQ(event.GetPos(), 480);
  EXPECT_EQ(event.GetStatus(), 0x90);
  EXPECT_EQ(event.GetData1(), 0x3C);
  EXPECT_EQ(event.GetData2(), 0x40);
  EXPECT_EQ(event.GetEvent().time, 960);
  KMidiEventRecord copy{};
  copy[0] = 77;
  event.CopyTo(copy);
  KMidiEventRecord expected = record;
  expected[4] = 0;  // reserved
  EXPECT_EQ(copy, expected);
}

TEST(KMIDIObjTest, StoresAsPlainPositionedObject) {
  RegisterModelClasses();
  KMIDIObj event;
  event.SetPos(12);
  event.SetData1(60);
  const std::unique_ptr<CObject> read = StoreAndReadObject(event);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetRuntimeClass(), RUNTIME_CLASS(KPosObj));
  EXPECT_EQ(static_cast<KPosObj&>(*read).GetPos(), 12);
}

}  // namespace

#pragma once
// KMIDIObj: one MIDI event built while a score is played or exported, while
// text directions are interpreted and while a note sounds at entry. It carries
// a short MIDI message (status, two data bytes) with its time word and a few
// integer parameters. It lives only in memory: it answers as a plain KPosObj
// and, if ever stored, would be written and read back as one holding only its
// position.
//
// The playback engine keeps the same values as an event record of eleven
// 32-bit words: word 0 unused here, 1 pos, 2 the time word, 3 the message
// word, 4 reserved (0), 5 amount, 6..8 the three parameters, 9 flags, 10 extra.

#include <array>
#include <cstdint>

#include "model/KPosObj.h"
#include "platform/WinTypes.h"

using KMidiEventRecord = std::array<std::int32_t, 11>;

class KMIDIObj : public KPosObj {
 public:
  // The time word and the message word.
  struct Event {
    std::int32_t time = 0;
    DWORD message = 0;
  };
  struct Triple {
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
  };

  KMIDIObj() = default;
  // pos, the time word, the message word and words 5..10 of the record.
  explicit KMIDIObj(const KMidiEventRecord& record);
  ~KMIDIObj() override = default;

  // Fills words 1..10 of the record (word 0 is left as it is).
  void CopyTo(KMidiEventRecord& record) const;

  void SetEvent(std::int32_t time, DWORD message);
  Event GetEvent() const { return {m_eventWord, Message()}; }

  // The amount keeps its magnitude and its sign apart.
  void SetMagnitude(std::int32_t value);
  std::int32_t GetMagnitude() const;
  void SetNegative(int negative);
  int IsPositive() const { return m_amount >= 0 ? 1 : 0; }

  void SetData1(int value) { m_data1 = static_cast<BYTE>(value); }
  int GetData1() const { return m_data1; }
  // Clamped to 0..127.
  void SetData2(int value);
  int GetData2() const { return m_data2; }
  // The channel (low four bits of the status) clamped to 0..15; the message
  // kind in the high four bits stays.
  void SetChannel(int channel);
  void SetStatus(BYTE status) { m_status = status; }
  BYTE GetStatus() const { return m_status; }

  // bits 0 clears every flag; otherwise sets the bits, or clears them when
  // set is 0.
  void ModifyFlags(DWORD bits, int set);
  int TestFlags(DWORD bits) const { return (m_flags & bits) != 0 ? 1 : 0; }
  DWORD GetFlags() const { return m_flags; }

  void SetExtra(std::int32_t extra) { m_extra = extra; }
  std::int32_t GetExtra() const { return m_extra; }
  void SetTriple(std::int32_t a, std::int32_t b, std::int32_t c);
  Triple GetTriple() const { return {m_param1, m_param2, m_param3}; }

 private:
  DWORD Message() const;

  std::int32_t m_eventWord = 0;
  BYTE m_status = 0;
  BYTE m_data1 = 0;
  BYTE m_data2 = 0;
  BYTE m_messageHigh = 0;  // completes the message word
  std::int32_t m_reserved = 0;
  std::int32_t m_amount = 0;
  std::int32_t m_param1 = 0;
  std::int32_t m_param2 = 0;
  std::int32_t m_param3 = 0;
  DWORD m_flags = 0;
  std::int32_t m_extra = 0;
};

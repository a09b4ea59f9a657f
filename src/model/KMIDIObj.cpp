#include "model/KMIDIObj.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr int kMaxData = 127;
constexpr int kMaxChannel = 15;

// The absolute value, with the most negative value kept at the largest one.
std::int32_t Magnitude(std::int32_t value) {
  if (value >= 0) return value;
  return value == INT32_MIN ? INT32_MAX : -value;
}
}  // namespace

KMIDIObj::KMIDIObj(const KMidiEventRecord& record)
    : KPosObj(record[1]),
      m_amount(record[5]),
      m_param1(record[6]),
      m_param2(record[7]),
      m_param3(record[8]),
      m_flags(static_cast<DWORD>(record[9])),
      m_extra(record[10]) {
  SetEvent(record[2], static_cast<DWORD>(record[3]));
}

void KMIDIObj::CopyTo(KMidiEventRecord& record) const {
  const Event event = GetEvent();
  record[1] = GetPos();
  record[2] = event.time;
  record[3] = static_cast<std::int32_t>(event.message);
  record[4] = 0;
  record[5] = IsPositive() ? GetMagnitude() : -GetMagnitude();
  const Triple triple = GetTriple();
  record[6] = triple.a;
  record[7] = triple.b;
  record[8] = triple.c;
  record[9] = static_cast<std::int32_t>(GetFlags());
  record[10] = GetExtra();
}

void KMIDIObj::SetEvent(std::int32_t time, DWORD message) {
  m_eventWord = time;
  m_status = static_cast<BYTE>(message & 0xFF);
  m_data1 = static_cast<BYTE>((message >> 8) & 0xFF);
  m_data2 = static_cast<BYTE>((message >> 16) & 0xFF);
  m_messageHigh = static_cast<BYTE>((message >> 24) & 0xFF);
}

DWORD KMIDIObj::Message() const {
  return static_cast<DWORD>(m_status) | static_cast<DWORD>(m_data1) << 8 | static_cast<DWORD>(m_data2) << 16 |
         static_cast<DWORD>(m_messageHigh) << 24;
}

void KMIDIObj::SetMagnitude(std::int32_t value) {
  // Negated with wrap-around, so that no value overflows.
  m_amount = m_amount < 0 ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value)) : value;
}

std::int32_t KMIDIObj::GetMagnitude() const { return Magnitude(m_amount); }

void KMIDIObj::SetNegative(int negative) {
  const std::int32_t magnitude = Magnitude(m_amount);
  m_amount = negative ? -magnitude : magnitude;
}

void KMIDIObj::SetData2(int value) { m_data2 = static_cast<BYTE>(std::clamp(value, 0, kMaxData)); }

void KMIDIObj::SetChannel(int channel) {
  m_status = static_cast<BYTE>((m_status & 0xF0) | std::clamp(channel, 0, kMaxChannel));
}

void KMIDIObj::ModifyFlags(DWORD bits, int set) {
  if (bits == 0) {
    m_flags = 0;
  } else if (set) {
    m_flags |= bits;
  } else {
    m_flags &= ~bits;
  }
}

void KMIDIObj::SetTriple(std::int32_t a, std::int32_t b, std::int32_t c) {
  m_param1 = a;
  m_param2 = b;
  m_param3 = c;
}

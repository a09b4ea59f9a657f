#pragma once
// Shared pieces of the tests of attachments and rhythm symbols: a fixture
// that also restores the attachment preferences and registers the classes,
// a builder of record bytes as the file holds them, and an attachment with
// extreme values as a damaged file may bring it.

#include <climits>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "ModelTestSupport.h"
#include "model/AttachmentServices.h"
#include "model/KExtendedObj.h"
#include "model/KRhythmObj.h"

class AttachmentTest : public ModelTest {
 protected:
  AttachmentTest() {
    ResetAttachmentServices();
    CRuntimeClass::Register({RUNTIME_CLASS(KExtendedObj), RUNTIME_CLASS(KRhythmObj)});
  }
  ~AttachmentTest() override { ResetAttachmentServices(); }
};

// Little-endian record bytes, written by hand.
class RecordBytes {
 public:
  RecordBytes& Byte(int v) { return m_bytes.push_back(BYTE(v)), *this; }
  RecordBytes& Word(int v) { return Byte(v & 0xFF).Byte((v >> 8) & 0xFF); }
  RecordBytes& Int(int v) {
    for (int k = 0; k < 4; ++k) Byte(int((std::uint32_t(v) >> (8 * k)) & 0xFF));
    return *this;
  }
  RecordBytes& Chars(std::string_view text) {
    for (char ch : text) Byte(BYTE(ch));
    return *this;
  }
  // The archive's string: a length byte (or 0xFF and a word) and the bytes.
  RecordBytes& String(std::string_view text) {
    if (text.size() < 255) {
      Byte(int(text.size()));
    } else {
      Byte(0xFF).Word(int(text.size()));
    }
    return Chars(text);
  }
  const Bytes& Get() const { return m_bytes; }
  operator const Bytes&() const { return m_bytes; }

 private:
  Bytes m_bytes;
};

// An object of T loaded from the record bytes (all of them consumed).
template <typename T>
std::unique_ptr<T> Loaded(const Bytes& bytes) {
  auto object = std::make_unique<T>();
  LoadFields(*object, bytes);
  return object;
}

// A CString from bytes that may hold any value.
inline CString Text(std::string_view bytes) { return CString(bytes); }

// An attachment as a damaged file may bring it: every stored value extreme
// (a packed record takes them without correction).
inline KExtendedObj Hostile(int kind, int extreme) {
  const std::int32_t words[] = {kind, INT_MAX, extreme, extreme, extreme, extreme, extreme, 0};
  KExtendedObj attachment{std::span<const std::int32_t>(words)};
  attachment.SetOffset(extreme, extreme);
  attachment.SetPoint(0, extreme, extreme);
  attachment.SetPoint(1, -1 - extreme, extreme);
  return attachment;
}

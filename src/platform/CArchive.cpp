#include "platform/CArchive.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <string>

#include "platform/Cp1252.h"

namespace {

constexpr WORD kNullTag = 0x0000;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000;
// Highest number of classes and objects in one archive, as the framework.
constexpr std::size_t kMaxEntries = 0x3FFFFFFE;
// Longest stored class name plus one.
constexpr WORD kClassNameLimit = 64;
// Long strings are read in pieces of this size, so a damaged length costs no
// more memory than the data that is really there.
constexpr std::size_t kStringChunk = 64 * 1024;
// Largest single transfer handed to the file.
constexpr std::size_t kMaxTransfer = 1u << 30;

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4, "float must be IEEE 754 single");
static_assert(std::numeric_limits<double>::is_iec559 && sizeof(double) == 8,
              "double must be IEEE 754 double");

template <typename T>
void PutLittleEndian(BYTE* out, T value) {
  for (std::size_t i = 0; i < sizeof(T); ++i)
    out[i] = static_cast<BYTE>(static_cast<std::uint64_t>(value) >> (8 * i));
}

template <typename T>
T GetLittleEndian(const BYTE* in) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
  return static_cast<T>(value);
}

// UTF-16LE units to Windows-1252; unpaired surrogates and characters the code
// page lacks become '?'.
std::string Utf16ToCp1252(const std::string& units) {
  const std::size_t count = units.size() / 2;
  const auto unit = [&units](std::size_t i) {
    return static_cast<char32_t>(static_cast<BYTE>(units[2 * i]) |
                                 (static_cast<BYTE>(units[2 * i + 1]) << 8));
  };
  std::string out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
      const char32_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    out += static_cast<char>(cp1252::FromUnicode(c));
  }
  return out;
}

}  // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : m_file(file),
      m_mode(mode),
      m_uncaughtAtStart(std::uncaught_exceptions()),
      m_buffer(static_cast<std::size_t>(std::max(bufferSize, 128))),
      m_loaded{{EntryKind::null, nullptr, nullptr}} {
  if (m_file == nullptr) throw CArchiveException(CArchiveException::generic);
}

CArchive::~CArchive() {
  // Flushing while an exception unwinds would write a half-stored archive.
  if (m_file == nullptr || (m_mode & bNoFlushOnDelete) || std::uncaught_exceptions() > m_uncaughtAtStart)
    return;
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; callers that care call Close themselves.
  }
}

void CArchive::Fail(int cause) const {
  throw CArchiveException(cause, m_file != nullptr ? CString::FromUtf8(m_file->GetFilePath()) : CString());
}

void CArchive::CheckStoring() const {
  if (m_file == nullptr) Fail(CArchiveException::generic);
  if (!IsStoring()) Fail(CArchiveException::readOnly);
}

void CArchive::CheckLoading() const {
  if (m_file == nullptr) Fail(CArchiveException::generic);
  if (!IsLoading()) Fail(CArchiveException::writeOnly);
}

void CArchive::ReadMore(void* buffer, std::size_t count) {
  CheckLoading();
  auto* out = static_cast<BYTE*>(buffer);
  while (count > 0) {
    if (m_bufferPos == m_bufferEnd) {
      if (count >= m_buffer.size()) {
        // Large reads go straight into the caller's memory.
        const UINT got = m_file->Read(out, static_cast<UINT>(std::min(count, kMaxTransfer)));
        if (got == 0) Fail(CArchiveException::endOfFile);
        out += got;
        count -= got;
        continue;
      }
      m_bufferPos = 0;
      m_bufferEnd = m_file->Read(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
      if (m_bufferEnd == 0) Fail(CArchiveException::endOfFile);
    }
    const std::size_t n = std::min(count, m_bufferEnd - m_bufferPos);
    std::memcpy(out, m_buffer.data() + m_bufferPos, n);
    m_bufferPos += n;
    out += n;
    count -= n;
  }
}

void CArchive::WriteBytes(const void* buffer, std::size_t count) {
  CheckStoring();
  const auto* in = static_cast<const BYTE*>(buffer);
  if (count > m_buffer.size() - m_bufferPos) FlushStoreBuffer();
  if (count >= m_buffer.size()) {
    while (count > 0) {
      const std::size_t n = std::min(count, kMaxTransfer);
      m_file->Write(in, static_cast<UINT>(n));
      in += n;
      count -= n;
    }
    return;
  }
  if (count > 0) std::memcpy(m_buffer.data() + m_bufferPos, in, count);
  m_bufferPos += count;
}

void CArchive::FlushStoreBuffer() {
  if (m_bufferPos == 0) return;
  m_file->Write(m_buffer.data(), static_cast<UINT>(m_bufferPos));
  m_bufferPos = 0;
}

UINT CArchive::Read(void* buffer, UINT count) {
  ReadBytes(buffer, count);
  return count;
}

void CArchive::Write(const void* buffer, UINT count) { WriteBytes(buffer, count); }

void CArchive::Flush() {
  if (m_file == nullptr) return;
  if (IsStoring()) {
    FlushStoreBuffer();
  } else {
    if (m_bufferEnd > m_bufferPos)
      m_file->Seek(-static_cast<std::int64_t>(m_bufferEnd - m_bufferPos), CFile::current);
    m_bufferPos = m_bufferEnd = 0;
  }
}

void CArchive::Close() {
  Flush();
  m_file = nullptr;
}

void CArchive::Abort() { m_file = nullptr; }

// ---- Numbers ----

#define STAVLIN_ARCHIVE_STORE(type, stored)             \
  CArchive& CArchive::operator<<(type value) {          \
    BYTE bytes[sizeof(stored)];                         \
    PutLittleEndian(bytes, static_cast<stored>(value)); \
    WriteBytes(bytes, sizeof(bytes));                   \
    return *this;                                       \
  }

STAVLIN_ARCHIVE_STORE(BYTE, std::uint8_t)
STAVLIN_ARCHIVE_STORE(char, std::uint8_t)
STAVLIN_ARCHIVE_STORE(WORD, std::uint16_t)
STAVLIN_ARCHIVE_STORE(short, std::uint16_t)
STAVLIN_ARCHIVE_STORE(DWORD, std::uint32_t)
STAVLIN_ARCHIVE_STORE(int, std::uint32_t)

#undef STAVLIN_ARCHIVE_STORE

CArchive& CArchive::operator<<(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return *this << static_cast<DWORD>(bits);
}

CArchive& CArchive::operator>>(float& value) {
  DWORD bits;
  *this >> bits;
  std::memcpy(&value, &bits, sizeof(value));
  return *this;
}

CArchive& CArchive::operator<<(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  BYTE bytes[8];
  PutLittleEndian(bytes, bits);
  WriteBytes(bytes, sizeof(bytes));
  return *this;
}

CArchive& CArchive::operator>>(double& value) {
  BYTE bytes[8];
  ReadBytes(bytes, sizeof(bytes));
  const auto bits = GetLittleEndian<std::uint64_t>(bytes);
  std::memcpy(&value, &bits, sizeof(value));
  return *this;
}

BYTE CArchive::ReadByte() {
  BYTE value;
  *this >> value;
  return value;
}

WORD CArchive::ReadWord() {
  WORD value;
  *this >> value;
  return value;
}

DWORD CArchive::ReadDword() {
  DWORD value;
  *this >> value;
  return value;
}

void CArchive::WriteCount(DWORD count) {
  if (count < 0xFFFF) {
    *this << static_cast<WORD>(count);
  } else {
    *this << static_cast<WORD>(0xFFFF) << count;
  }
}

DWORD CArchive::ReadCount() {
  const WORD count = ReadWord();
  return count != 0xFFFF ? count : ReadDword();
}

// ---- Strings ----

DWORD CArchive::ReadStringLength(bool& wide) {
  wide = false;
  BYTE shortLength = ReadByte();
  if (shortLength < 0xFF) return shortLength;
  WORD length = ReadWord();
  if (length == 0xFFFE) {
    // The wide-string marker; the real length follows in the same form.
    wide = true;
    shortLength = ReadByte();
    if (shortLength < 0xFF) return shortLength;
    length = ReadWord();
    if (length == 0xFFFE) Fail(CArchiveException::generic);
  }
  return length < 0xFFFF ? length : ReadDword();
}

CArchive& operator<<(CArchive& ar, const CString& text) {
  const auto length = static_cast<DWORD>(text.GetLength());
  if (length < 0xFF) {
    ar << static_cast<BYTE>(length);
  } else if (length < 0xFFFE) {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
  } else {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << length;
  }
  ar.WriteBytes(text.View().data(), length);
  return ar;
}

CArchive& operator<<(CArchive& ar, const char* text) { return ar << CString(text); }

CArchive& operator>>(CArchive& ar, CString& text) {
  bool wide = false;
  const DWORD length = ar.ReadStringLength(wide);
  const std::uint64_t byteCount = wide ? 2 * static_cast<std::uint64_t>(length) : length;
  std::string bytes;
  while (bytes.size() < byteCount) {
    const std::size_t done = bytes.size();
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kStringChunk, byteCount - done));
    bytes.resize(done + n);
    ar.ReadBytes(bytes.data() + done, n);
  }
  text = CString(wide ? Utf16ToCp1252(bytes) : bytes);
  return ar;
}

// ---- Objects ----

void CArchive::CheckEntryCount(std::size_t count) const {
  if (count >= kMaxEntries) Fail(CArchiveException::badIndex);
}

void CArchive::WriteReference(DWORD index, bool isClass) {
  if (index < kBigObjectTag) {
    *this << static_cast<WORD>(isClass ? (kClassTag | index) : index);
  } else {
    *this << kBigObjectTag << (isClass ? (kBigClassTag | index) : index);
  }
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
  const auto found = m_storedClasses.find(cls);
  if (found != m_storedClasses.end()) {
    WriteReference(found->second, true);
    return;
  }
  // A class that could not be read back is refused when storing.
  const std::size_t nameLength = std::strlen(cls->m_lpszClassName);
  if (!cls->IsSerializable() || nameLength >= kClassNameLimit) Fail(CArchiveException::badClass);
  CheckEntryCount(m_nextEntry);
  *this << kNewClassTag << static_cast<WORD>(cls->m_wSchema) << static_cast<WORD>(nameLength);
  WriteBytes(cls->m_lpszClassName, nameLength);
  m_storedClasses.emplace(cls, m_nextEntry++);
}

void CArchive::WriteObject(const CObject* object) {
  CheckStoring();
  if (object == nullptr) {
    *this << kNullTag;
    return;
  }
  const auto found = m_storedObjects.find(object);
  if (found != m_storedObjects.end()) {
    WriteReference(found->second, false);
    return;
  }
  WriteClass(object->GetRuntimeClass());
  CheckEntryCount(m_nextEntry);
  m_storedObjects.emplace(object, m_nextEntry++);
  // Storing does not change the object; Serialize serves both directions.
  const_cast<CObject*>(object)->Serialize(*this);
}

const CRuntimeClass* CArchive::LoadClassRecord() {
  const WORD schema = ReadWord();
  const WORD nameLength = ReadWord();
  if (nameLength >= kClassNameLimit) Fail(CArchiveException::badClass);
  char name[kClassNameLimit];
  ReadBytes(name, nameLength);
  const CRuntimeClass* cls = CRuntimeClass::FromName(std::string_view(name, nameLength));
  if (cls == nullptr) Fail(CArchiveException::badClass);
  if (cls->m_wSchema != schema) Fail(CArchiveException::badSchema);
  if (!cls->IsSerializable()) Fail(CArchiveException::badClass);
  return cls;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
  CheckLoading();
  const WORD tag = ReadWord();
  bool isClass;
  DWORD index = 0;
  if (tag == kBigObjectTag) {
    const DWORD bigTag = ReadDword();
    isClass = (bigTag & kBigClassTag) != 0;
    index = bigTag & ~kBigClassTag;
  } else if (tag == kNewClassTag) {
    isClass = true;
  } else {
    isClass = (tag & kClassTag) != 0;
    index = tag & ~kClassTag;
  }

  if (!isClass) {
    // A reference to an object read before (or null).
    if (index >= m_loaded.size()) Fail(CArchiveException::badIndex);
    const LoadEntry& entry = m_loaded[index];
    if (entry.kind == EntryKind::null) return nullptr;
    if (entry.kind != EntryKind::object || !m_objectReferencesAllowed) Fail(CArchiveException::badIndex);
    if (requested != nullptr && !entry.object->IsKindOf(requested)) Fail(CArchiveException::badClass);
    return entry.object;
  }

  const CRuntimeClass* cls;
  if (tag == kNewClassTag) {
    CheckEntryCount(m_loaded.size());
    cls = LoadClassRecord();
    m_loaded.push_back({EntryKind::cls, cls, nullptr});
  } else {
    if (index == 0 || index >= m_loaded.size() || m_loaded[index].kind != EntryKind::cls) {
      Fail(CArchiveException::badIndex);
    }
    cls = m_loaded[index].cls;
  }
  if (requested != nullptr && !cls->IsDerivedFrom(requested)) Fail(CArchiveException::badClass);

  CheckEntryCount(m_loaded.size());
  std::unique_ptr<CObject> object(cls->CreateObject());
  if (object == nullptr) Fail(CArchiveException::badClass);
  const std::size_t first = m_loaded.size();
  m_loaded.push_back({EntryKind::object, nullptr, object.get()});
  try {
    object->Serialize(*this);
  } catch (...) {
    // The object goes, and with it whatever it had read; no later reference
    // may reach any of them.
    for (std::size_t i = first; i < m_loaded.size(); ++i) {
      if (m_loaded[i].kind == EntryKind::object) m_loaded[i] = {EntryKind::gone, nullptr, nullptr};
    }
    throw;
  }
  return object.release();
}

CArchive& operator<<(CArchive& ar, const CObject* object) {
  ar.WriteObject(object);
  return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& object) {
  object = ar.ReadObject(nullptr);
  return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& object) {
  object = ar.ReadObject(nullptr);
  return ar;
}

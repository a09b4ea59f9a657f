#pragma once
// CArchive: reads or writes a binary stream of values and objects on a CFile,
// in the framework's persistent-object format, so that score files written by
// either program open in the other.
//
// Format (all numbers little-endian):
// - BYTE, char: 1 byte; WORD, short: 2; DWORD, LONG, int: 4; float: 4 and
//   double: 8 (IEEE 754).
// - A string: its length as one BYTE when below 255, else 0xFF and a WORD
//   when below 0xFFFE, else 0xFF, 0xFFFF and a DWORD; then the bytes. Loading
//   also takes the wide form (0xFF, 0xFFFE, then a length of the same form
//   counting UTF-16 units, then UTF-16LE data), converted to Windows-1252.
// - A count: a WORD when below 0xFFFF, else 0xFFFF and a DWORD.
// - An object: a WORD tag. 0x0000 is a null pointer. 0xFFFF introduces a
//   class met for the first time, followed by its record (WORD schema, WORD
//   name length, name bytes) and then the object's own data. 0x8000 | n
//   refers to the class stored as entry n, followed by the object's data. A
//   plain n refers back to object entry n, stored before (no data follows).
//   Classes and objects share one entry counter that starts at 1, in the
//   order they first appear. An entry of 0x7FFF or more takes the long form:
//   the WORD 0x7FFF, then a DWORD (with 0x80000000 set for a class).
//
// Loading treats the stream as untrusted: every read is bounds-checked and
// every failure throws CArchiveException (endOfFile, badIndex, badClass,
// badSchema, generic). An object whose Serialize throws while it is being
// read is deleted before the exception goes on, so a failed load leaks
// nothing as long as each class's destructor frees what it had read.
//
// Object back-references: the format lets an object appear in several places,
// stored once and referred to afterwards. Classes that own their children
// cannot share them, so a damaged or hostile file could make two owners of
// one object. SetObjectReferencesAllowed(false) makes any back-reference to
// an already loaded object fail with badIndex; documents switch it on.
//
// Archives buffer: Flush or Close (or the destructor, unless an exception is
// unwinding) pushes stored bytes to the file. The file stays open after Close.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/CArchiveException.h"
#include "platform/CFile.h"
#include "platform/CObject.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class CArchive {
 public:
  enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2 };

  CArchive(CFile* file, UINT mode, int bufferSize = 4096);
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;
  ~CArchive();

  bool IsLoading() const { return (m_mode & load) != 0; }
  bool IsStoring() const { return (m_mode & load) == 0; }
  CFile* GetFile() const { return m_file; }

  // Loading: whether a back-reference to an object already read is accepted
  // (true by default, as in the framework). Null references are always fine.
  void SetObjectReferencesAllowed(bool allowed) { m_objectReferencesAllowed = allowed; }
  bool ObjectReferencesAllowed() const { return m_objectReferencesAllowed; }

  // Raw bytes. Read fills the whole buffer or throws endOfFile; it returns
  // `count`.
  UINT Read(void* buffer, UINT count);
  void Write(const void* buffer, UINT count);

  // Storing: writes buffered bytes to the file. Loading: moves the file back
  // to the archive's logical position.
  void Flush();
  // Flush, then detach from the file.
  void Close();
  // Detach from the file without flushing.
  void Abort();

  CArchive& operator<<(BYTE value);
  CArchive& operator<<(char value);
  CArchive& operator<<(WORD value);
  CArchive& operator<<(short value);
  CArchive& operator<<(DWORD value);
  CArchive& operator<<(int value);  // LONG too: 32 bits
  CArchive& operator<<(float value);
  CArchive& operator<<(double value);
  CArchive& operator<<(bool) = delete;  // no stored width: say BYTE or int

  // Loading the integers is inline: a score is mostly small numbers.
  CArchive& operator>>(BYTE& value) { return Load<std::uint8_t>(value); }
  CArchive& operator>>(char& value) { return Load<std::uint8_t>(value); }
  CArchive& operator>>(WORD& value) { return Load<std::uint16_t>(value); }
  CArchive& operator>>(short& value) { return Load<std::uint16_t>(value); }
  CArchive& operator>>(DWORD& value) { return Load<std::uint32_t>(value); }
  CArchive& operator>>(int& value) { return Load<std::uint32_t>(value); }
  CArchive& operator>>(float& value);
  CArchive& operator>>(double& value);

  void WriteCount(DWORD count);
  DWORD ReadCount();

  void WriteObject(const CObject* object);
  // Reads an object written by WriteObject: a new object (owned by the
  // caller), a back-reference, or null. When `requested` is given the object
  // must be of that class or derive from it, else badClass.
  CObject* ReadObject(const CRuntimeClass* requested);

  friend CArchive& operator<<(CArchive& ar, const CString& text);
  friend CArchive& operator>>(CArchive& ar, CString& text);

 private:
  enum class EntryKind : std::uint8_t { null, cls, object, gone };
  struct LoadEntry {
    EntryKind kind;
    const CRuntimeClass* cls;
    CObject* object;
  };

  // Reads a little-endian integer of the stored type into value.
  template <typename Stored, typename T>
  CArchive& Load(T& value) {
    BYTE bytes[sizeof(Stored)];
    ReadBytes(bytes, sizeof(bytes));
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < sizeof(Stored); ++i) word |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    value = static_cast<T>(static_cast<Stored>(word));
    return *this;
  }
  [[noreturn]] void Fail(int cause) const;
  void CheckStoring() const;
  void CheckLoading() const;
  // Bytes already read ahead are copied here; the rest goes to ReadMore.
  void ReadBytes(void* buffer, std::size_t count) {
    if (count <= m_bufferEnd - m_bufferPos && (m_mode & load) != 0 && m_file != nullptr) {
      std::memcpy(buffer, m_buffer.data() + m_bufferPos, count);
      m_bufferPos += count;
      return;
    }
    ReadMore(buffer, count);
  }
  void ReadMore(void* buffer, std::size_t count);
  void WriteBytes(const void* buffer, std::size_t count);
  void FlushStoreBuffer();
  BYTE ReadByte();
  WORD ReadWord();
  DWORD ReadDword();
  DWORD ReadStringLength(bool& wide);
  void WriteReference(DWORD index, bool isClass);
  void WriteClass(const CRuntimeClass* cls);
  const CRuntimeClass* LoadClassRecord();
  void CheckEntryCount(std::size_t count) const;

  CFile* m_file;
  UINT m_mode;
  bool m_objectReferencesAllowed = true;
  int m_uncaughtAtStart;

  std::vector<BYTE> m_buffer;
  std::size_t m_bufferPos = 0;  // next byte to read or write
  std::size_t m_bufferEnd = 0;  // loading: end of the bytes read ahead

  // Storing: the entry numbers given to classes and objects.
  std::unordered_map<const CRuntimeClass*, DWORD> m_storedClasses;
  std::unordered_map<const CObject*, DWORD> m_storedObjects;
  DWORD m_nextEntry = 1;
  // Loading: entry n of the stream, entry 0 being null.
  std::vector<LoadEntry> m_loaded;
};

CArchive& operator<<(CArchive& ar, const CString& text);
CArchive& operator<<(CArchive& ar, const char* text);  // stored as a string
CArchive& operator>>(CArchive& ar, CString& text);
CArchive& operator<<(CArchive& ar, const CObject* object);
CArchive& operator>>(CArchive& ar, CObject*& object);
CArchive& operator>>(CArchive& ar, const CObject*& object);

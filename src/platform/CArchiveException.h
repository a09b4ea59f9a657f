#pragma once
// CArchiveException: an archive could not be read or written. m_cause says
// why, with the framework's cause codes; m_strFileName names the archive's file
// when it has one.

#include "platform/CException.h"
#include "platform/CString.h"

class CArchiveException : public CException {
 public:
  enum {
    none = 0,
    generic = 1,    // damaged data that fits no other cause
    readOnly = 2,   // writing to an archive that loads
    endOfFile = 3,  // reading past the end of the data
    writeOnly = 4,  // reading from an archive that stores
    badIndex = 5,   // a class or object reference that points nowhere valid
    badClass = 6,   // an unknown, unsuitable or unstorable class
    badSchema = 7,  // a class stored with another schema than ours
  };

  explicit CArchiveException(int cause = none, const CString& fileName = CString())
      : m_cause(cause), m_strFileName(fileName) {}

  const char* what() const noexcept override {
    switch (m_cause) {
      case generic: return "archive: damaged data";
      case readOnly: return "archive: write to a loading archive";
      case endOfFile: return "archive: unexpected end of file";
      case writeOnly: return "archive: read from a storing archive";
      case badIndex: return "archive: bad class or object reference";
      case badClass: return "archive: unknown or unexpected class";
      case badSchema: return "archive: unsupported class schema";
      default: return "archive: no error";
    }
  }

  int m_cause;
  CString m_strFileName;
};

[[noreturn]] inline void AfxThrowArchiveException(int cause, const CString& fileName = CString()) {
  throw CArchiveException(cause, fileName);
}

#pragma once
// CFileException: a file could not be opened, read, written or positioned.
// m_cause holds the framework's cause code, m_lOsError the errno value behind
// it (0 when none) and m_strFileName the file's path in display form.

#include "platform/CException.h"
#include "platform/CString.h"

class CFileException : public CException {
 public:
  enum {
    none = 0,
    generic = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };

  explicit CFileException(int cause = none, long osError = 0, const CString& fileName = CString())
      : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

  const char* what() const noexcept override {
    switch (m_cause) {
      case none: return "file: no error";
      case fileNotFound: return "file: not found";
      case badPath: return "file: bad path";
      case tooManyOpenFiles: return "file: too many open files";
      case accessDenied: return "file: access denied";
      case invalidFile: return "file: invalid file";
      case badSeek: return "file: bad seek";
      case hardIO: return "file: input/output error";
      case diskFull: return "file: disk full";
      case endOfFile: return "file: unexpected end of file";
      default: return "file: error";
    }
  }

  // The cause code for an errno value.
  static int OsErrorToCause(int osError);

  int m_cause;
  long m_lOsError;
  CString m_strFileName;
};

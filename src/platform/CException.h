#pragma once
// CException: the base of the platform's exceptions (archive and file errors),
// so that a caller can catch every failure of a load or save in one place.

#include <exception>

class CException : public std::exception {
 public:
  const char* what() const noexcept override { return "platform exception"; }
};

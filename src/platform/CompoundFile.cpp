#include "platform/CompoundFile.h"

#include <stdexcept>

namespace {

std::unique_ptr<KCompoundFile>& Installed() {
  static std::unique_ptr<KCompoundFile> file;
  return file;
}

}  // namespace

const KCompoundFile& CurrentCompoundFile() {
  if (!Installed()) throw std::logic_error("no score-file container has been installed");
  return *Installed();
}

std::unique_ptr<KCompoundFile> SetCurrentCompoundFile(std::unique_ptr<KCompoundFile> file) {
  Installed().swap(file);
  return file;
}

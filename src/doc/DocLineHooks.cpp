#include "doc/DocLineHooks.h"

namespace {
KDocLineHooks& Installed() {
  static KDocLineHooks hooks;
  return hooks;
}
}  // namespace

const KDocLineHooks& DocLineHooks() { return Installed(); }

KDocLineHooks SetDocLineHooks(const KDocLineHooks& hooks) {
  const KDocLineHooks previous = Installed();
  Installed() = hooks;
  return previous;
}

#include "platform/ProgressPort.h"

namespace {

ProgressPort g_silentPort;
ProgressPort* g_progressPort = nullptr;

}  // namespace

ProgressPort& CurrentProgressPort() { return g_progressPort != nullptr ? *g_progressPort : g_silentPort; }

ProgressPort* SetProgressPort(ProgressPort* port) {
  ProgressPort* previous = g_progressPort;
  g_progressPort = port;
  return previous;
}

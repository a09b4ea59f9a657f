#include "platform/RecordingDC.h"

RecordingDC::RecordingDC(const DeviceCaps& caps, bool printing, const TextMeasurer* measurer)
    : CDC(caps, measurer, printing, false), m_log(std::make_shared<Log>()), m_name("dc") {}

RecordingDC::RecordingDC(std::shared_ptr<Log> log, std::string name, const DeviceCaps& caps,
                         const TextMeasurer* measurer)
    : CDC(caps, measurer, false, true), m_log(std::move(log)), m_name(std::move(name)) {}

std::string RecordingDC::Text() const {
  std::string text;
  for (const std::string& line : m_log->lines) text += line + "\n";
  return text;
}

void RecordingDC::Record(std::string line) {
  if (IsMemoryDC()) line = m_name + ": " + line;
  m_log->lines.push_back(std::move(line));
}

std::unique_ptr<CDC> RecordingDC::NewCompatibleDC(const DeviceCaps& caps) {
  const std::string name = "mem" + std::to_string(++m_log->memoryDCs);
  return std::unique_ptr<CDC>(new RecordingDC(m_log, name, caps, &Measurer()));
}

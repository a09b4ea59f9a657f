#pragma once
// A device context that paints nothing and writes down every drawing and
// state-changing call as a text line (the format of DcCallText.h), keeping the
// full state so that selections return what was selected before, clips and
// origins work, and text measures through the given measurer (by default the
// fixed-width FixedTextMeasurer). Queries (extents, metrics, GetPixel, clip box)
// change nothing and are not written down.
//
// Memory device contexts made from it write into the same list, their lines
// prefixed with their name ("mem1: SelectObject ..."), and blits name their
// source by it ("BitBlt 10,20 8x12 mem1=bitmap(2123 8x12x1) 0,0 SRCAND").

#include <memory>
#include <string>
#include <vector>

#include "platform/CDC.h"

class RecordingDC : public CDC {
 public:
  explicit RecordingDC(const DeviceCaps& caps = DeviceCaps(), bool printing = false,
                       const TextMeasurer* measurer = nullptr);

  const std::vector<std::string>& Lines() const { return m_log->lines; }
  // The lines joined, each followed by a newline.
  std::string Text() const;
  void Clear() { m_log->lines.clear(); }
  void SetPrinting(bool printing) { SetPrintingFlag(printing); }

 protected:
  bool IsRecording() const override { return true; }
  void Record(std::string line) override;
  std::string RecordName() const override { return m_name; }
  std::unique_ptr<CDC> NewCompatibleDC(const DeviceCaps& caps) override;

 private:
  struct Log {
    std::vector<std::string> lines;
    int memoryDCs = 0;
  };
  RecordingDC(std::shared_ptr<Log> log, std::string name, const DeviceCaps& caps,
              const TextMeasurer* measurer);

  std::shared_ptr<Log> m_log;
  std::string m_name;
};

#pragma once
// The translation code's side of the text line's services: reading a text
// line as ABC goes to the ABC reader. Start-up installs one instance with
// SetTextLineTranslator.

#include "lines/KStrLineServices.h"

class KTextLineTranslatorImpl : public KTextLineTranslator {
 public:
  std::unique_ptr<KLineObj> ReadAbc(const KStrLine& line, int option) override;
  // Chord-name recognition belongs to the chord-line reader; until it is
  // wired here no line is answered.
  std::unique_ptr<KLineObj> RecognizeChordNames(const KStrLine& line, int source, int option) override;
};

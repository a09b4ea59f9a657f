#pragma once
// What the text line needs of the code around it that is not built on the
// lines' level: the view's table of text fonts, the record the paste engine
// inserts, and the translation code's ABC reader and chord-name recogniser.
//
// The translation code installs its KTextLineTranslator at start-up; until it
// does (and in tests that install none), reading ABC and recognising chord
// names answer no line.

#include <memory>
#include <span>

#include "platform/CObject.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"

class KLineObj;
class KStrLine;

// The view's copy of the score's text-font table, indexed by font number:
// element n is the font of font number n (1 to 40; element 0 is unused by the
// document). Each record's escapement holds the text colour.
using KTextFontTable = std::span<const LOGFONT>;

// What the paste engine and the chord commands hand to a line's InsertCopy: a
// text (a chord name, or the text to paste into a text line), a chord shape and
// the integers that go with a chord diagram.
class KInsertionRecord : public CObject {
 public:
  KInsertionRecord() = default;
  explicit KInsertionRecord(const CString& text) : text(text) {}

  CString text;
  CString shape;
  int value0 = 0;
  int value1 = 0;
  int value2 = 0;
};

// The translation code's readers that a text line hands its text to.
class KTextLineTranslator {
 public:
  virtual ~KTextLineTranslator() = default;
  // The line's text read as ABC notation: a new line, or null.
  virtual std::unique_ptr<KLineObj> ReadAbc(const KStrLine& line, int option) = 0;
  // A chord-diagram line of the chords named in the text (looked up in the
  // chord dictionary; each recognised chord joins the recent chords), or null.
  virtual std::unique_ptr<KLineObj> RecognizeChordNames(const KStrLine& line, int source, int option) = 0;
};

// Installs the translator (not owned; null removes it).
void SetTextLineTranslator(KTextLineTranslator* translator);
KTextLineTranslator* GetTextLineTranslator();

// Set by the "From ABC Notation" command for its duration: only then does a
// text line translate to a staff by reading its text as ABC.
extern int g_abcTranslating;

// Removes the translator and clears g_abcTranslating.
void ResetTextLineServices();

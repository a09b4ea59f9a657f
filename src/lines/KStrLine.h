#pragma once
// KStrLine (line kind 5, text and lyrics): one line of free text placed under
// or between the other lines of a score, for lyrics, titles, notes and typed
// chord names. It holds no positioned objects: its content is a single string
// edited at a caret that counts character columns, drawn in one font of the
// score's text-font table (font numbers 1 to 40; 0 before a font is assigned).
// It derives from KLineObj directly, so it has no object list and no drawing
// cache; its attachments (text boxes, links, shapes) live in the line base's
// attachment list and travel in the line base's record as packed words.
//
// The view fills a cache of the pixel x of character columns 0 to 199 while it
// draws the line; every change of the text invalidates it (count -1).
//
// The class's jobs are split over several files: KStrLine.cpp (construction
// and accessors) and KStrLineSerialize.cpp (the record).

#include "model/KLineObj.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class CArchive;

class KStrLine : public KLineObj {
  DECLARE_SERIAL(KStrLine);

 public:
  static constexpr int kKind = 5;
  // Font numbers name entries 1 to 40 of the score's text-font table.
  static constexpr int kMaxFontNumber = 40;
  static constexpr int kColumnXCount = 200;
  // Flag bit of a title line.
  static constexpr DWORD kFlagTitle = 0x8000;

  // Empty text, font number 0 (the archive's constructor).
  KStrLine();
  KStrLine(const CString& text, int fontNumber);
  KStrLine(const char* text, int fontNumber);
  explicit KStrLine(int fontNumber);
  ~KStrLine() override;

  CString GetText() const { return m_text; }
  // Replaces the text and invalidates the column-x cache.
  void SetText(const CString& text);
  int GetFontIndex() const { return m_fontNumber; }
  // Leaves the column-x cache alone: the view invalidates it when it changes
  // a line's font.
  void SetFontIndex(int fontNumber) { m_fontNumber = fontNumber; }

  // The column-x cache: an index outside 0..199 is ignored (reads as 0).
  void SetColumnX(int index, int x);
  int GetColumnX(int index) const;
  // Number of valid cache entries; -1 invalidates the cache.
  void SetColumnXCount(int count) { m_columnXCount = count; }
  int GetColumnXCount() const { return m_columnXCount; }

  // The length of the text in bytes.
  int GetLength() override { return m_text.GetLength(); }

  // The line base's record, then the font number (BYTE) and the text.
  void Serialize(CArchive& ar) override;

 private:
  CString m_text;
  int m_fontNumber = 0;
  int m_columnX[kColumnXCount] = {};
  int m_columnXCount = -1;
};

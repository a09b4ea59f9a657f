#pragma once
// KRhythmLine (line kind 3): a line of free text and rhythm symbols typed at a
// caret: strumming and rhythm marks, tempo words, swing marks and short texts
// placed above or between the note lines. Its objects are KRhythmObj items (a
// run of text, or one symbol) positioned in pixels at the normal size, and it
// draws them in a font of its own whose text form and colour it keeps. The
// caret moves by character columns: each character of a text run and each
// symbol is one column, and empty space counts in blank widths (the column
// width, measured from the font; -1 until measured).
//
// The line's font text is a font in the usual text form whose third number
// (the escapement) carries the text colour; the fonts made from it have no
// escapement. The large font is 125 % of the normal one. A font that cannot be
// made is replaced by the program-wide fallback font of its size after the
// internal-error message.
//
// The record is the object-list line's record; the font text travels inside
// the label, after the separator "!@!" (see KRhythmLineSerialize.cpp).
//
// The class's jobs are split over several files: KRhythmLine.cpp
// (construction and fonts) and KRhythmLineSerialize.cpp (the record and the
// conversion of the items of older files).

#include "model/KListLine.h"
#include "platform/CString.h"
#include "platform/GdiObjects.h"
#include "platform/WinTypes.h"

class CArchive;

class KRhythmLine : public KListLine {
  DECLARE_SERIAL(KRhythmLine);

 public:
  static constexpr int kKind = 3;

  // Key 0 and the default rhythm font text (the archive's constructor).
  KRhythmLine();
  KRhythmLine(int key, const CString& fontText);
  ~KRhythmLine() override;

  // Stores the font text and makes both fonts from it (see above).
  void SetFont(const CString& fontText);
  CString GetFontText() const { return m_fontText; }
  // Index 0 the normal font, any other the large one: the line's own font, or
  // the fallback font when the line's could not be made.
  CFont* GetFont(int index) const { return m_fontPtr[SizeOf(index)]; }
  // The LOGFONT height of the normal (0) or large font.
  int GetFontHeight(int index) const { return m_fontHeight[SizeOf(index)]; }
  COLORREF GetTextColor() const { return m_textColor; }

  // Pixel width of one blank of the line's font; -1 while not measured.
  int GetColumnWidth() const override { return m_columnWidth; }
  // Callers set -1 after changing the items or the font.
  void SetColumnWidth(int width) { m_columnWidth = width; }

  // Receives the items of a file older than version 3900 while it loads.
  CObList* GetOldSymbolList() override { return &m_oldSymbols; }
  // Every object of the line is a rhythm item, whatever kind the record says.
  const CRuntimeClass* GetObjClass() const override;

  void Serialize(CArchive& ar) override;

 private:
  static int SizeOf(int index) { return index != 0 ? 1 : 0; }
  // Makes both fonts from the font text; codes name the places reported
  // when the normal and the large font cannot be made.
  void MakeFonts(const char* normalCode, const char* largeCode);
  // Rebuilds the items of an older file (in the old symbol list, one per
  // character or symbol at whole columns) as text runs and symbols.
  void ConvertOldSymbols();

  CObList m_oldSymbols{10};
  int m_columnWidth = -1;
  int m_measuredEnd = 0;
  CString m_fontText;
  CFont m_fonts[2];
  CFont* m_fontPtr[2] = {nullptr, nullptr};
  int m_fontHeight[2] = {0, 0};
  COLORREF m_textColor = 0;
};

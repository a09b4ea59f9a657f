#pragma once
// KRhythmObj: one item of a rhythm line, either one rhythm symbol (a code of
// 200 or more) or a run of text. Its position is a pixel position at the
// normal symbol size, 9 pixels to a column, unlike the column positions of the
// other positioned objects.
//
// Link code: 0 unlinked; k > 0 opens a run of linked symbols, -10 - k marks a
// symbol inside the run and -k (-1..-9) closes it, k being the symbol's beam
// count (the rhythm line keeps these consistent).

#include "model/KPosObj.h"
#include "platform/CString.h"
#include "platform/WinTypes.h"

class CArchive;

class KRhythmObj : public KPosObj {
  DECLARE_SERIAL(KRhythmObj);

 public:
  // Codes from this one up are symbols; smaller ones are characters.
  static constexpr int kFirstSymbolCode = 200;
  // A symbol code that raises the program-wide load marker when it is read.
  static constexpr int kMarkedCode = 245;
  static constexpr int kDefaultWidth = 9;
  // Pixels to a column at the normal size; the file keeps pos / 9 for older
  // readers.
  static constexpr int kColumnPixels = 9;

  KRhythmObj() = default;
  // A symbol (code 200 or more), or a text run of the one character `code`.
  KRhythmObj(int pos, int code);
  KRhythmObj(int pos, const CString& text);
  ~KRhythmObj() override = default;

  int GetCode() const { return m_code; }
  void SetCode(int code) { m_code = static_cast<BYTE>(code); }
  const CString& GetText() const { return m_text; }
  void SetText(const CString& text) { m_text = text; }
  int GetLinkCode() const { return m_linkCode; }
  void SetLinkCode(int linkCode) { m_linkCode = static_cast<signed char>(linkCode); }
  int GetWidth() const { return m_width; }
  void SetWidth(int width) { m_width = width; }

  // Record after the position word (which holds pos / 9):
  //   BYTE the first character of the text, or the code
  //   BYTE 250, BYTE N (the extension length), BYTE pos >> 8, BYTE pos & 255,
  //   BYTE T >> 8, BYTE T & 255 (T = text length), T characters
  //   BYTE link code
  // N is T + 4, or 255 for a longer text: the text's own length says how
  // many characters follow. Texts above 65535 characters cannot be stored
  // (CArchiveException). Positions are kept modulo 65536.
  void Serialize(CArchive& ar) override;

 private:
  BYTE m_code = 0;
  CString m_text;
  signed char m_linkCode = 0;
  int m_width = kDefaultWidth;
};

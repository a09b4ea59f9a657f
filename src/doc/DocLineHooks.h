#pragma once
// What the score document needs of the line classes without knowing them by
// name: the classes its two lists may hold, the font number and the text of a
// text line, the empty text line that a new score starts with, and the column
// width that a rhythm line measures again after a join. Start-up installs
// StavlinLineHooks(); tests install their own small classes.

#include "platform/CObject.h"
#include "platform/CString.h"

class KLineObj;

struct KDocLineHooks {
  // The line list holds KLineObj objects and the line-group list KLineGroup
  // objects in any case; these narrow them further. A score file whose lists
  // hold anything else is refused. Null accepts any such object (but never a
  // null one).
  const CRuntimeClass* lineClass = nullptr;
  const CRuntimeClass* groupClass = nullptr;
  // The font number (1 to 40) of a text line (line family 5); 0 for a text
  // line with the default font and for every other line. Null: no line uses
  // a font of the score's table.
  int (*textFontNumber)(const KLineObj& line) = nullptr;
  // A new empty text line with the default font (font number 0), owned by the
  // caller. Null: a new score starts without lines.
  KLineObj* (*newTextLine)() = nullptr;
  // The text of a text line, and setting it. Null: text lines cannot be joined.
  CString (*lineText)(const KLineObj& line) = nullptr;
  void (*setLineText)(KLineObj& line, const CString& text) = nullptr;
  // Makes a rhythm line measure its column width again. Null: nothing to do.
  void (*resetColumnWidth)(KLineObj& line) = nullptr;
};

// The hooks in use (all null until installed).
const KDocLineHooks& DocLineHooks();
// Installs hooks and returns the ones they replace.
KDocLineHooks SetDocLineHooks(const KDocLineHooks& hooks);
// The hooks of the program's own line classes (CStavlinDocLineHooks.cpp), for
// start-up to install.
KDocLineHooks StavlinLineHooks();

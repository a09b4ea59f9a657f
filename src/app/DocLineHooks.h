#pragma once
// What the score document needs of the line classes without knowing them by
// name: the classes its two lists may hold, the font number of a text line,
// and the empty text line that a new score starts with. The line library
// installs these at start-up; tests install their own small classes.

#include "platform/CObject.h"

struct KDocLineHooks {
  // Every object of the line list derives from lineClass and every object of
  // the line-group list from groupClass; a score file whose lists hold
  // anything else is refused. Null accepts any object (but never a null one).
  const CRuntimeClass* lineClass = nullptr;
  const CRuntimeClass* groupClass = nullptr;
  // The font number (1 to 40) of a text line (line family 5); 0 for a text
  // line with the default font and for every other line. Null: no line uses
  // a font of the score's table.
  int (*textFontNumber)(const CObject& line) = nullptr;
  // A new empty text line with the default font (font number 0), owned by the
  // caller. Null: a new score starts without lines.
  CObject* (*newTextLine)() = nullptr;
};

// The hooks in use (all null until installed).
const KDocLineHooks& DocLineHooks();
// Installs hooks and returns the ones they replace.
KDocLineHooks SetDocLineHooks(const KDocLineHooks& hooks);

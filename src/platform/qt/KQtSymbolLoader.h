#pragma once
// The symbol loader of the Qt shell: reads the picture of a resource id from
// <symbol folder>/<id>.png. One-bit pictures become monochrome bitmaps, the
// others colour bitmaps.
//
// The symbol folder is the "symbols" folder of the resource folder, which is
// found next to the program (<folder of the executable>/../resources) or else
// is the one the build names (STAVLIN_RESOURCE_DIR); either can be replaced.

#include <QString>

#include "platform/SymbolLoader.h"

class KQtSymbolLoader : public SymbolLoader {
 public:
  // Loads from DefaultResourceDir()/symbols.
  KQtSymbolLoader();
  explicit KQtSymbolLoader(const QString& resourceDir);

  // The resource folder whose "symbols" folder holds the pictures.
  void SetResourceDir(const QString& resourceDir);
  // The folder that holds the pictures themselves.
  void SetSymbolDir(const QString& symbolDir);
  const QString& SymbolDir() const { return m_symbolDir; }

  bool Load(int id, CBitmap& bitmap) override;

  // <folder of the executable>/../resources when it has a "symbols" folder
  // (needs the application object), else the build's resource folder.
  static QString DefaultResourceDir();

 private:
  QString m_symbolDir;
};

#pragma once
// Loading the program's music-symbol pictures: each is a bitmap resource known
// by a number (the resource id), monochrome black on white except a few colour
// ones. The symbol cache asks the current loader for a picture the first time
// it draws it. The Qt shell installs a loader that reads the committed
// pictures; tests install a FakeSymbolLoader whose loads can be made to fail.

#include "platform/GdiObjects.h"

class SymbolLoader {
 public:
  virtual ~SymbolLoader() = default;
  // Creates bitmap from the picture of the id. On failure (no such picture,
  // unreadable data) answers false and leaves bitmap uncreated.
  virtual bool Load(int id, CBitmap& bitmap) = 0;
};

// The loader in use. Without one installed, every load fails.
SymbolLoader& CurrentSymbolLoader();
// Installs a loader (not owned) and returns the previous one; nullptr restores
// the loader that fails every load.
SymbolLoader* SetSymbolLoader(SymbolLoader* loader);
void ResetSymbolLoader();

// Loads through the current loader.
bool LoadSymbolResource(int id, CBitmap& bitmap);

// Installs a loader for the life of a scope, then restores the one before.
class ScopedSymbolLoader {
 public:
  explicit ScopedSymbolLoader(SymbolLoader& loader) : m_previous(SetSymbolLoader(&loader)) {}
  ~ScopedSymbolLoader() { SetSymbolLoader(m_previous); }
  ScopedSymbolLoader(const ScopedSymbolLoader&) = delete;
  ScopedSymbolLoader& operator=(const ScopedSymbolLoader&) = delete;

 private:
  SymbolLoader* m_previous;
};

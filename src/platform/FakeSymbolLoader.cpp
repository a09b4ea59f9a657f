#include "platform/FakeSymbolLoader.h"

void FakeSymbolLoader::SetDefaultSize(int width, int height) {
  m_width = width;
  m_height = height;
}

void FakeSymbolLoader::SetSize(int id, int width, int height) { m_sizes[id] = CSize(width, height); }

void FakeSymbolLoader::SetColour(int id) { m_colour.insert(id); }

void FakeSymbolLoader::Fail(int id) { m_failing.insert(id); }

void FakeSymbolLoader::Restore(int id) { m_failing.erase(id); }

bool FakeSymbolLoader::Load(int id, CBitmap& bitmap) {
  ++m_counts[id];
  m_order.push_back(id);
  if (m_failing.count(id) != 0) return false;
  const auto sized = m_sizes.find(id);
  const int width = sized != m_sizes.end() ? sized->second.cx : m_width;
  const int height = sized != m_sizes.end() ? sized->second.cy : m_height;
  if (!bitmap.CreateBitmap(width, height, 1, m_colour.count(id) != 0 ? 32 : 1, nullptr)) return false;
  PixelSurface surface = bitmap.Pixels()->Surface();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
      surface.Set(x, y, frame ? 0x000000u : 0xFFFFFFu);
    }
  }
  ++bitmap.Pixels()->generation;
  return true;
}

int FakeSymbolLoader::LoadCount(int id) const {
  const auto found = m_counts.find(id);
  return found != m_counts.end() ? found->second : 0;
}

void FakeSymbolLoader::ClearCounts() {
  m_counts.clear();
  m_order.clear();
}

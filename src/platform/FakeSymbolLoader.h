#pragma once
// A symbol loader for tests: every id loads a picture of a chosen size (a
// black one-pixel frame on white, monochrome unless the id is made a colour
// picture) unless the test made the id fail. Counts the loads of each id.

#include <map>
#include <set>
#include <vector>

#include "platform/SymbolLoader.h"

class FakeSymbolLoader : public SymbolLoader {
 public:
  // Size of the pictures of ids without a size of their own.
  void SetDefaultSize(int width, int height);
  void SetSize(int id, int width, int height);
  void SetColour(int id);
  // Loads of the id fail until Restore (or for good).
  void Fail(int id);
  void Restore(int id);

  bool Load(int id, CBitmap& bitmap) override;

  // Load attempts of the id, failed ones included.
  int LoadCount(int id) const;
  int TotalLoads() const { return static_cast<int>(m_order.size()); }
  // Every attempted id, in order.
  const std::vector<int>& LoadOrder() const { return m_order; }
  void ClearCounts();

 private:
  int m_width = 8;
  int m_height = 12;
  std::map<int, CSize> m_sizes;
  std::set<int> m_colour;
  std::set<int> m_failing;
  std::map<int, int> m_counts;
  std::vector<int> m_order;
};

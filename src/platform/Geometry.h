#pragma once
// Point, size and rectangle classes over the plain POINT, SIZE and RECT records,
// with the members the drawing and layout code is written in. Rectangles follow
// the usual screen convention: left and top are inside, right and bottom are
// one past the last pixel, so Width() is right - left.

#include <algorithm>

#include "platform/WinTypes.h"

using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

class CSize;

class CPoint : public POINT {
 public:
  constexpr CPoint() = default;
  constexpr CPoint(int px, int py) : POINT{px, py} {}
  constexpr CPoint(const POINT& p) : POINT(p) {}  // NOLINT(google-explicit-constructor)
  constexpr explicit CPoint(const SIZE& s) : POINT{s.cx, s.cy} {}

  void Offset(int dx, int dy) { x += dx, y += dy; }
  void Offset(const POINT& p) { Offset(p.x, p.y); }
  void Offset(const SIZE& s) { Offset(s.cx, s.cy); }
  void SetPoint(int px, int py) { x = px, y = py; }

  constexpr bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
  constexpr bool operator!=(const POINT& p) const { return !(*this == p); }
  CPoint& operator+=(const SIZE& s) { return Offset(s), *this; }
  CPoint& operator-=(const SIZE& s) { return Offset(-s.cx, -s.cy), *this; }
  CPoint& operator+=(const POINT& p) { return Offset(p), *this; }
  CPoint& operator-=(const POINT& p) { return Offset(-p.x, -p.y), *this; }
  constexpr CPoint operator+(const SIZE& s) const { return {x + s.cx, y + s.cy}; }
  constexpr CPoint operator-(const SIZE& s) const { return {x - s.cx, y - s.cy}; }
  constexpr CPoint operator+(const POINT& p) const { return {x + p.x, y + p.y}; }
  constexpr CPoint operator-() const { return {-x, -y}; }
  // The difference of two points is the size between them.
  constexpr CSize operator-(const POINT& p) const;
};

class CSize : public SIZE {
 public:
  constexpr CSize() = default;
  constexpr CSize(int w, int h) : SIZE{w, h} {}
  constexpr CSize(const SIZE& s) : SIZE(s) {}  // NOLINT(google-explicit-constructor)
  constexpr explicit CSize(const POINT& p) : SIZE{p.x, p.y} {}

  constexpr bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
  constexpr bool operator!=(const SIZE& s) const { return !(*this == s); }
  CSize& operator+=(const SIZE& s) { return cx += s.cx, cy += s.cy, *this; }
  CSize& operator-=(const SIZE& s) { return cx -= s.cx, cy -= s.cy, *this; }
  constexpr CSize operator+(const SIZE& s) const { return {cx + s.cx, cy + s.cy}; }
  constexpr CSize operator-(const SIZE& s) const { return {cx - s.cx, cy - s.cy}; }
  constexpr CSize operator-() const { return {-cx, -cy}; }
};

constexpr CSize CPoint::operator-(const POINT& p) const { return {x - p.x, y - p.y}; }

class CRect : public RECT {
 public:
  constexpr CRect() = default;
  constexpr CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  constexpr CRect(const RECT& r) : RECT(r) {}  // NOLINT(google-explicit-constructor)
  constexpr CRect(const POINT& topLeft, const SIZE& size)
      : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
  constexpr CRect(const POINT& topLeft, const POINT& bottomRight)
      : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr CSize Size() const { return {Width(), Height()}; }
  constexpr CPoint TopLeft() const { return {left, top}; }
  constexpr CPoint BottomRight() const { return {right, bottom}; }
  constexpr CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }

  // Empty: no pixel inside (zero or negative width or height). Null: all four sides 0.
  constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
  constexpr bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  constexpr bool PtInRect(const POINT& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr bool EqualRect(const RECT& r) const {
    return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
  }

  void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
  void SetRect(const POINT& topLeft, const POINT& bottomRight) {
    SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
  }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(const RECT* r) { *static_cast<RECT*>(this) = *r; }

  // Swaps sides so that left <= right and top <= bottom.
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }

  void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
  void OffsetRect(const POINT& p) { OffsetRect(p.x, p.y); }
  void OffsetRect(const SIZE& s) { OffsetRect(s.cx, s.cy); }
  void MoveToX(int x) { right += x - left, left = x; }
  void MoveToY(int y) { bottom += y - top, top = y; }
  void MoveToXY(int x, int y) { MoveToX(x), MoveToY(y); }
  void MoveToXY(const POINT& p) { MoveToXY(p.x, p.y); }

  void InflateRect(int dx, int dy) { left -= dx, top -= dy, right += dx, bottom += dy; }
  void InflateRect(const SIZE& s) { InflateRect(s.cx, s.cy); }
  void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
  void InflateRect(const RECT* r) { InflateRect(r->left, r->top, r->right, r->bottom); }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  void DeflateRect(const SIZE& s) { InflateRect(-s.cx, -s.cy); }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
  void DeflateRect(const RECT* r) { DeflateRect(r->left, r->top, r->right, r->bottom); }

  // The common part of a and b. When they share no pixel the result is the
  // null rectangle and the answer FALSE.
  BOOL IntersectRect(const RECT* a, const RECT* b) {
    const CRect r(std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                  std::min(a->bottom, b->bottom));
    if (r.IsRectEmpty()) {
      SetRectEmpty();
      return FALSE;
    }
    *this = r;
    return TRUE;
  }
  // The smallest rectangle holding a and b; an empty operand is ignored. When
  // both are empty the result is the null rectangle and the answer FALSE.
  BOOL UnionRect(const RECT* a, const RECT* b) {
    const CRect ra(*a), rb(*b);
    if (ra.IsRectEmpty() && rb.IsRectEmpty()) {
      SetRectEmpty();
      return FALSE;
    }
    if (ra.IsRectEmpty()) return *this = rb, TRUE;
    if (rb.IsRectEmpty()) return *this = ra, TRUE;
    SetRect(std::min(ra.left, rb.left), std::min(ra.top, rb.top), std::max(ra.right, rb.right),
            std::max(ra.bottom, rb.bottom));
    return TRUE;
  }

  operator LPRECT() { return this; }         // NOLINT(google-explicit-constructor)
  operator LPCRECT() const { return this; }  // NOLINT(google-explicit-constructor)

  constexpr bool operator==(const RECT& r) const { return EqualRect(r); }
  constexpr bool operator!=(const RECT& r) const { return !EqualRect(r); }
  CRect& operator+=(const POINT& p) { return OffsetRect(p), *this; }
  CRect& operator-=(const POINT& p) { return OffsetRect(-p.x, -p.y), *this; }
  CRect& operator&=(const RECT& r) { return IntersectRect(this, &r), *this; }
  CRect& operator|=(const RECT& r) { return UnionRect(this, &r), *this; }
  CRect operator+(const POINT& p) const {
    CRect r(*this);
    r.OffsetRect(p);
    return r;
  }
  CRect operator-(const POINT& p) const {
    CRect r(*this);
    r.OffsetRect(-p.x, -p.y);
    return r;
  }
  CRect operator&(const RECT& other) const {
    CRect r;
    r.IntersectRect(this, &other);
    return r;
  }
  CRect operator|(const RECT& other) const {
    CRect r;
    r.UnionRect(this, &other);
    return r;
  }
};

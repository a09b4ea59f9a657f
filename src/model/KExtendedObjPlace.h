#pragma once
// Where an attachment lies on its line: the rules that drawing, grips and the
// covered rectangle share (KExtendedObjPlace.cpp, KExtendedObjDraw*.cpp).
//
// The lines hand over the line type, the pixel x of the attachment's column,
// the pixel y of the line's drawing top and the size index (0 normal, 1 large).
// The origin is that point moved by half a column (none for the boxed brackets
// 22..24) and lowered to the attachment's row:
//   staff family      y + (row - 14) x staff step, 6 steps higher on a percussion staff
//   tablature family  y + (row - 2) x (string spacing + 1) - 2
//   rhythm and chord  y - 4
//   other lines       y
// Stored lengths (anchor, size, offset, end points) are pixels at the normal
// size and scale by 9 / 9 or 11 / 9 (the rhythm column width of the size).
//
// Stored values come from files, so every one is bounded before any sum:
// lengths to +-kMaxAttachmentLength, rows to +-kMaxAttachmentRow and the
// line's pixel position to +-kMaxLinePixel. Whatever a file holds, the drawn
// points then stay within a few hundred thousand pixels of the line and no sum
// can overflow.

#include "platform/Geometry.h"

class KExtendedObj;

inline constexpr int kMaxAttachmentLength = 32767;
inline constexpr int kMaxAttachmentRow = 255;
inline constexpr int kMaxLinePixel = 1 << 24;

// The attachment on its line, in screen pixels.
struct KAttachmentFrame {
  int family = 0;  // line family of the line type
  int size = 0;    // size index, 0 or 1
  int x = 0;       // origin plus the scaled offset, before the kind's own x shift
  int y = 0;
  int w = 0;  // scaled size
  int h = 0;
  CPoint anchor;           // scaled anchor
  CPoint points[2];        // the stored end points, bounded, unscaled (the curve draws them so)
  CPoint scaledPoints[2];  // the end points scaled (where the grips sit)
};

// The frame of the attachment for the line type, the column's pixel x, the
// line's drawing top and the size index.
KAttachmentFrame PlaceAttachment(const KExtendedObj& attachment, int lineType, int x, int y, int sizeIndex);

// A value clamped into [low, high].
int BoundedValue(long long value, int low, int high);
// A stored length bounded to +-kMaxAttachmentLength.
inline int BoundedLength(long long value) {
  return BoundedValue(value, -kMaxAttachmentLength, kMaxAttachmentLength);
}
// A stored length at the size: v x s / 9, truncating toward zero (s = 9 or 11).
int ScaleLength(int value, int size);

// How far the kind's drawing moves its origin left: 6 for the numbered bracket
// and the bracket lines 7..20 and 22, 3 for the text box, 0 for the others.
int KindShift(int kind);
// The y of a bracket line's line (t) and the end of its hooks (Y), relative
// to the origin; h is the scaled height.
int BracketLineY(int kind, int family);
int BracketHookY(int family, int h);

#pragma once
// POSITION: an opaque handle to one element of a list, as the framework's
// lists hand out. It stays valid while other elements are inserted or removed;
// null means "no element" (before the head or after the tail).

struct PositionHandle;
using POSITION = PositionHandle*;

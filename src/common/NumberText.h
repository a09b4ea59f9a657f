#pragma once
// A locale-free reader of decimal integers in setting and tuning texts. It
// reads as the C library's "%d" does (leading white space, an optional sign,
// digits) but never overflows: a number beyond the 32-bit range saturates.

#include <span>
#include <string_view>

// Reads up to out.size() integers separated by single commas from the start of
// the text, like sscanf with "%d,%d,...": reading stops at the first place that
// does not hold a number or where the comma is missing. Returns how many were
// read; the entries of out after them are left unchanged.
int ScanCommaIntegers(std::string_view text, std::span<int> out);

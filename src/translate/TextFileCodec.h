#pragma once
// The bytes of a plain-text file and the text they hold. A file is read as
// UTF-8 when it is valid UTF-8 (a byte-order mark is taken off), else as
// Windows-1252, the text of older files. Line ends become "\n" whatever they
// were (CR LF, LF or CR); a file written back gets the encoding and line ends
// it came with, so that saving changes nothing the user did not change.
// Bytes that are not text at all (a NUL byte, or control characters that no
// text file holds, as in a MIDI file or an image) are refused.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct KTextFileForm {
  bool utf8 = true;  // UTF-8 (else Windows-1252)
  bool byteOrderMark = false;
  bool crlf = false;  // lines end in CR LF (else LF)
};

struct KDecodedText {
  bool binary = false;  // the bytes are not text: text is empty
  std::string text;     // UTF-8, lines ended by "\n"
  KTextFileForm form;
};

bool IsValidUtf8(std::string_view bytes);
// The bytes hold a NUL, or more than one control character in a hundred bytes
// besides tab, line feed, vertical tab, form feed, carriage return, escape and
// the old end-of-file mark (^Z).
bool LooksBinary(std::string_view bytes);
KDecodedText DecodeTextFile(std::span<const std::uint8_t> bytes);
// The bytes of the text (UTF-8 with "\n" line ends) in the form. Text that
// Windows-1252 cannot hold is written as UTF-8 instead, so nothing is lost;
// form.utf8 then says so.
std::vector<std::uint8_t> EncodeTextFile(std::string_view text, KTextFileForm& form);
// "\r\n" and lone "\r" as "\n".
std::string WithLineFeeds(std::string_view text);

#pragma once
// KTextDoc: a plain-text document (".txt", ".tab", ".crd", ".bta", ".pro",
// ".abc"), as File/Open, File/New Text File, File/Import/ABC File and the
// ABC export make it. It holds the text (UTF-8, lines ended by "\n"), the
// file it came from and in which form, and whether it changed; the window
// that shows it is the shell's. It decides what opening it does: show the
// text, or hand it to a new score to be read as ABC or as text tablature.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/CString.h"
#include "translate/TextFileCodec.h"

class KTextDoc {
 public:
  // The extensions of the plain-text documents, with their file-dialog names.
  struct KTextKind {
    const char* extension;  // ".txt"
    const char* filter;     // "Text Files (*.txt)"
  };
  static std::span<const KTextKind> Kinds();
  // The path (any case) ends in one of the extensions.
  static bool IsTextFileName(std::string_view path);

  // A new, empty, unchanged document.
  KTextDoc() = default;

  // Reads the file at the UTF-8 path. False (message set, document unchanged)
  // when it cannot be read, is too large for a text, or holds binary data.
  bool Load(const std::string& path, CString& message);
  // The bytes of a file, as Load reads them (the path unchanged). False, with
  // the document unchanged, when the bytes are not text.
  bool LoadBytes(std::span<const std::uint8_t> bytes);
  // The largest text file opened.
  static constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;
  // Writes the text to the path, which becomes the document's; the document
  // is then unchanged. False (message set) when it cannot be written.
  bool Save(const std::string& path, CString& message);

  const std::string& Text() const { return m_text; }
  // New text (UTF-8; any line ends); marks the document changed.
  void SetText(std::string_view utf8);
  // The text as the score's Windows-1252 text, lines ended by "\n".
  CString TextForScore() const;
  // Text from the score (Windows-1252, CR LF line ends); marks it changed.
  void SetTextFromScore(const CString& text);

  bool IsModified() const { return m_modified; }
  void SetModifiedFlag(bool modified = true) { m_modified = modified; }

  const std::string& GetPathName() const { return m_path; }
  // The name shown on the window: the file's name, or the title given.
  std::string GetTitle() const;
  void SetTitle(std::string title) { m_title = std::move(title); }
  // The file's name without its folder and extension ("tune" for
  // "/music/tune.abc"): the title of the score it is handed to.
  std::string ScoreTitle() const;
  // The file is ABC notation: its name says ".abc" (any case).
  bool IsAbcFile() const;
  const KTextFileForm& Form() const { return m_form; }

  // What opening the document does with its text.
  struct KHandOver {
    bool toScore = false;    // the text goes to a new score, the document closes
    bool abc = false;        // ... read as ABC notation
    bool tablature = false;  // ... its text-tablature rows read as tablature
  };
  // newEmpty: made by File/New Text File (never handed over); importingAbc:
  // opened by File/Import/ABC File (read as ABC whatever its name);
  // handAllText, handAbc, translateTab: the text-file preferences.
  KHandOver DecideHandOver(bool newEmpty, bool importingAbc, bool handAllText, bool handAbc,
                           bool translateTab) const;

 private:
  std::string m_text;
  std::string m_path;
  std::string m_title;
  KTextFileForm m_form;
  bool m_modified = false;
};

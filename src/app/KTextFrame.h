#pragma once
// The window of one plain-text document: an MDI child holding a plain text
// editor over the document (KTextDoc). It shows and edits the text, saves it
// in the form the file came in, and asks about unsaved changes before it
// closes. The text document's own decisions (encodings, what opening does)
// are the document's; this window only shows it.

#include <QMdiSubWindow>
#include <functional>
#include <memory>

#include "platform/CString.h"
#include "translate/KTextDoc.h"

class QPlainTextEdit;

class KTextFrame : public QMdiSubWindow {
 public:
  // Where a file without a path is saved: a path, or empty for Cancel.
  using SavePrompt = std::function<CString(const CString& suggested)>;

  KTextFrame(std::unique_ptr<KTextDoc> document, SavePrompt prompt, QWidget* parent = nullptr);
  ~KTextFrame() override;
  KTextFrame(const KTextFrame&) = delete;
  KTextFrame& operator=(const KTextFrame&) = delete;

  // The document with the editor's text in it.
  KTextDoc& Document();
  QPlainTextEdit* Editor() const { return m_edit; }

  // File/Save: to the document's file, or where the prompt says; true when saved.
  bool Save();
  // File/Save As: always asks where.
  bool SaveAs();
  // Asks about unsaved changes once; true when the window may close.
  bool QueryClose();
  void CloseWithoutAsking();
  bool IsClosing() const { return m_closing; }
  void UpdateTitle();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool SaveTo(const CString& path);

  std::unique_ptr<KTextDoc> m_document;
  SavePrompt m_prompt;
  QPlainTextEdit* m_edit;
  bool m_asked = false;
  bool m_closing = false;
};

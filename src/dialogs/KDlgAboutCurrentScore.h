#pragma once
// KDlgAboutCurrentScore: "About Current (or Last) Active Stavlin Score"
// (template 5555): facts about the score that was last active. Only OK
// closes it.

#include "platform/ModalDialog.h"

class KDlgAboutCurrentScore : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5555;
  static constexpr UINT kIdUnsaved = 2093;
  static constexpr UINT kIdFileSize = 2094;
  static constexpr UINT kIdPages = 2095;
  static constexpr UINT kIdLines = 2096;
  static constexpr UINT kIdFolder = 2097;
  static constexpr UINT kIdTitle = 2098;
  static constexpr UINT kIdVersion = 2099;
  // The labels beside the values.
  static constexpr UINT kIdTitleLabel = 40001;
  static constexpr UINT kIdFolderLabel = 40002;
  static constexpr UINT kIdVersionLabel = 40003;
  static constexpr UINT kIdFileSizeLabel = 40004;
  static constexpr UINT kIdLinesLabel = 40005;
  static constexpr UINT kIdPagesLabel = 40006;
  static constexpr UINT kIdPagesNote = 40007;
  static constexpr UINT kIdUnsavedLabel = 40008;

  KDlgAboutCurrentScore() : KModalDialog(kTemplateId) {}

  CString title;
  CString folder;
  CString version;
  CString fileSize;
  CString lines;
  CString pages;
  CString unsaved;  // "YES" or "NO"

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};

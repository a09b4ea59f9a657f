#include "dialogs/KDlgAboutCurrentScore.h"

#include "platform/UiPort.h"

void KDlgAboutCurrentScore::DeclareControls(DialogControls& c) {
  c.SetTitle("About Current (or Last) Active Stavlin Score");
  c.Static(kIdTitleLabel, "Title:");
  c.Static(kIdTitle, title.Str());
  c.Static(kIdFolderLabel, "Located in:");
  c.Static(kIdFolder, folder.Str());
  c.Static(kIdVersionLabel, "Created with Stavlin version");
  c.Static(kIdVersion, version.Str());
  c.Static(kIdFileSizeLabel, "Size on disk ( Bytes ):");
  c.Static(kIdFileSize, fileSize.Str());
  c.Static(kIdLinesLabel, "Number of lines:");
  c.Static(kIdLines, lines.Str());
  c.Static(kIdPagesLabel, "Number of printed pages:");
  c.Static(kIdPages, pages.Str());
  c.Static(kIdPagesNote, "( Multi-width pages are counted as one )");
  c.Static(kIdUnsavedLabel, "Score has unsaved changes at this time? ");
  c.Static(kIdUnsaved, unsaved.Str());
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgAboutCurrentScore::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Form({Field(kIdTitleLabel, kIdTitle), Field(kIdFolderLabel, kIdFolder),
            Field(kIdVersionLabel, kIdVersion), Field(kIdFileSizeLabel, kIdFileSize),
            Field(kIdLinesLabel, kIdLines), Field(kIdPagesLabel, kIdPages)}),
      Ctl(kIdPagesNote),
      Form({Field(kIdUnsavedLabel, kIdUnsaved)}),
  };
}

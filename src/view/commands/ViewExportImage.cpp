// File/Export as an image: the selection, or the whole score, drawn as it is
// printed (no caret, selection or editing marks) into a bitmap and saved as a
// PNG or BMP file (platform/ImageFiles.h). The low-resolution image has the
// screen's pixels; the high-resolution one is drawn at three times that, with
// the printer's symbols and text, so that it is exactly three times as wide
// and as high.
//
// Exporting changes nothing in the score: not its modified state, not the
// selection, not the page-break marks.

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>
#include <system_error>

#include "common/ErrorReporter.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/KListLine.h"
#include "platform/FileBytes.h"
#include "platform/ImageFiles.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"

namespace {

constexpr UINT kMsgCreateProblem = 7133;
constexpr UINT kMsgSaveProblem = 7134;
constexpr UINT kMsgWrongKind = 7151;
constexpr UINT kMsgTooLarge = 7152;
constexpr const char* kReadOnlyReason = "The file is read-only.";
constexpr int kFormatPng = 0;
constexpr int kFormatBmp = 1;
constexpr int kAllFilesFilter = 3;
constexpr const char* kExtensions[2] = {"png", "bmp"};
// Layout pixels the layout keeps below the last line and right of the widest.
constexpr int kBottomExtra = 100;
constexpr int kRightExtra = 20;
constexpr int kHighResScale = 3;
// The resolutions of the high-resolution image: 100 layout pixels an inch
// become 300 image pixels.
constexpr int kHighResLayoutDpi = 100;
constexpr int kHighResImageDpi = 300;

// The index where the file-name part of a path starts.
int FileNameStart(const CString& path) { return path.ReverseFind('/') + 1; }

// The extension of the file-name part (after its last dot), or empty.
CString ExtensionOf(const CString& path) {
  const int start = FileNameStart(path);
  const int dot = path.ReverseFind('.');
  return dot >= start ? path.Mid(dot + 1) : CString();
}

// The path with the extension after the file name's last dot replaced by
// extension, or the extension added when the name has none.
CString WithExtension(const CString& path, const char* extension) {
  const int start = FileNameStart(path);
  const int dot = path.ReverseFind('.');
  return (dot >= start ? path.Left(dot) : path) + "." + extension;
}

// The file format of an extension: 0 PNG, 1 BMP, -1 neither.
int FormatOfExtension(const CString& extension) {
  if (extension.CompareNoCase("png") == 0) return kFormatPng;
  if (extension.CompareNoCase("bmp") == 0) return kFormatBmp;
  return -1;
}

std::filesystem::path FsPath(const CString& path) { return std::filesystem::path(path.ToUtf8()); }

// What high-resolution drawing changes program-wide, put back when it ends.
class KHighResolution {
 public:
  KHighResolution()
      : m_screenX(g_screenResX),
        m_screenY(g_screenResY),
        m_deviceX(g_deviceResX),
        m_deviceY(g_deviceResY),
        m_dpiX(g_deviceDpiX),
        m_sizePct(g_printSizePct),
        m_render(g_deviceRender) {
    g_deviceRender = 1;
    g_screenResX = g_screenResY = kHighResLayoutDpi;
    g_deviceResX = g_deviceResY = kHighResImageDpi;
    g_deviceDpiX = kHighResImageDpi;
    g_printSizePct = 100;
    SelectSymbolSize(0, 0);
  }
  ~KHighResolution() {
    FreePrintBitmaps();
    g_deviceRender = m_render;
    g_screenResX = m_screenX;
    g_screenResY = m_screenY;
    g_deviceResX = m_deviceX;
    g_deviceResY = m_deviceY;
    g_deviceDpiX = m_dpiX;
    g_printSizePct = m_sizePct;
  }
  KHighResolution(const KHighResolution&) = delete;
  KHighResolution& operator=(const KHighResolution&) = delete;

 private:
  int m_screenX, m_screenY, m_deviceX, m_deviceY, m_dpiX, m_sizePct, m_render;
};

}  // namespace

void CStavlinView::ExportImage() { ExportImageAt(1); }

void CStavlinView::OnExportHighResImage() { ExportImageAt(kHighResScale); }

RECT CStavlinView::ExportRectangle() {
  const RECT whole{0, 0, std::max(1, m_scrollWidth - kRightExtra),
                   std::max(1, m_scrollHeight - kBottomExtra)};
  if (m_selFirstLine >= 0 && SelectionRectShown()) {
    RECT capture{std::max(m_selRect.left, whole.left), std::max(m_selRect.top, whole.top),
                 std::min(m_selRect.right, whole.right), std::min(m_selRect.bottom, whole.bottom)};
    if (capture.right > capture.left && capture.bottom > capture.top) return capture;
  }
  // The whole score: as wide as its widest line.
  CDC* measure = MeasureDC();
  int widest = 0;
  for (int i = 0; i < m_lineCount; ++i) widest = std::max(widest, LineSheetWidth(i, measure));
  return RECT{0, 0, widest + kRightExtra, whole.bottom};
}

bool CStavlinView::RenderExport(const RECT& capture, int scale, CBitmap& bitmap) {
  const int width = (capture.right - capture.left) * scale;
  const int height = (capture.bottom - capture.top) * scale;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const bool colour = m_document->UsesColor() != 0;
    // (The window's device context lasts until it is asked for again, as
    // drawing does.)
    CDC* screen = MeasureDC();
    bitmap.DeleteObject();
    if (screen == nullptr || !bitmap.CreateBitmap(width, height, 1, colour ? 32 : 1, nullptr)) {
      AfxMessageBox(kMsgTooLarge, MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    std::unique_ptr<CDC> memory = screen->CreateCompatibleDC();
    if (memory == nullptr) {
      ReportInternalErrorOnce(kOnceBitmapDrawFailed, kMsgInternalProblem, "QV5-1");
      return false;
    }
    CBitmap* previous = memory->SelectObject(&bitmap);
    memory->PatBlt(0, 0, width, height, WHITENESS);
    memory->SetWindowOrg(capture.left * scale, capture.top * scale);
    memory->IntersectClipRect(capture.left * scale, capture.top * scale, capture.right * scale,
                              capture.bottom * scale);
    m_exporting = 1;
    OnDraw(memory.get());
    m_exporting = 0;
    memory->SelectObject(previous);
    // A colour first met while drawing (a coloured tablature line): once more
    // in colour.
    if (colour || m_document->UsesColor() == 0) return true;
  }
  return true;
}

void CStavlinView::ExportImageAt(int scale) {
  if (m_document == nullptr) return;
  const BOOL wasModified = m_document->IsModified();

  KSaveFileRequest request;
  request.title = "Export Image";
  request.filters = {
      {"PNG Files (*.png)", "*.png"}, {"BMP Files (*.bmp)", "*.bmp"}, {"All Files (*.*)", "*.*"}};
  const int preferred = g_prefExporting.imageFormat == kFormatBmp ? kFormatBmp : kFormatPng;
  request.filterIndex = preferred + 1;
  const CString title = m_document->ScoreName();
  const int svd = title.Find(".svd");
  request.fileName = svd >= 0 ? title.Left(svd) : title;
  // Cancel is an answer, not a failure: nothing to say.
  if (!CurrentUiPort().GetSaveFileName(request) || request.fileName.IsEmpty()) return;

  // The chosen file type decides the extension; with All Files, the one typed
  // does (the preferred type's when none is typed).
  CString path = request.fileName;
  if (request.filterIndex == 1 || request.filterIndex == 2) {
    const char* wanted = kExtensions[request.filterIndex - 1];
    if (ExtensionOf(path).CompareNoCase(wanted) != 0) path = WithExtension(path, wanted);
  } else if (request.filterIndex == kAllFilesFilter && ExtensionOf(path).IsEmpty()) {
    path = WithExtension(path, kExtensions[preferred]);
  }
  const int format = FormatOfExtension(ExtensionOf(path));
  if (format < 0) {
    AfxMessageBox(kMsgWrongKind, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (g_prefExporting.imageFormat != format) {
    g_prefExporting.imageFormat = format;
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kExporting);
  }
  const char* const createCode = format == kFormatPng ? "1" : "2";
  // A read-only file stays as it is: no question, nothing drawn.
  if (fileio::IsReadOnlyFile(FsPath(path))) {
    ReportFileProblem(kMsgCreateProblem, createCode, path.Str().c_str(), kReadOnlyReason);
    return;
  }
  std::error_code error;
  if (std::filesystem::exists(FsPath(path), error)) {
    CString question;
    question.Format("%s already exists.\nDo you want to replace it?", path.Str().c_str());
    if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  }

  // The picture.
  CBitmap bitmap;
  bool drawn = false;
  if (scale == 1) {
    drawn = RenderExport(ExportRectangle(), 1, bitmap);
  } else {
    // The high-resolution image is drawn with small symbols, as printed.
    const bool switchSymbols = m_sizeIndex != 0;
    std::array<LOGFONT, 41> fonts = m_textFonts;
    {
      KHighResolution highResolution;
      if (switchSymbols) SetSymbolSize(0, 1);
      drawn = RenderExport(ExportRectangle(), scale, bitmap);
      if (switchSymbols) {
        m_textFonts = fonts;
        m_fontsNeedMeasuring = 1;
        SetSymbolSize(1, 0);
      }
    }
    for (int i = 0; i < m_lineCount; ++i) {
      if (KLineObj* line = GetDisplayLineObj(i)) {
        if (KListLine* list = line->AsListLine()) list->MarkChanged();
      }
    }
    OnViewRefresh();
  }
  if (!wasModified && m_document->IsModified()) m_document->SetModifiedFlag(FALSE);
  if (!drawn) return;

  // The file: the image is written into memory, then put in place the way a
  // score is saved, so that a failure midway leaves the old file whole.
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  if (out == nullptr) {
    ReportFileProblem(kMsgCreateProblem, createCode, path.Str().c_str(), std::strerror(errno));
    return;
  }
  const char* failure = nullptr;
  const char* reason = nullptr;
  if (format == kFormatPng) {
    KPngImage image;
    if (!DescribePngImage(bitmap, g_prefExporting.interlaced != 0, image)) {
      failure = "22";
      reason = "The picture has a form a PNG file cannot hold";
    } else if (!CurrentPngWriter().Write(out, image)) {
      failure = "21";
      reason = "The PNG encoder failed";
    }
  } else {
    switch (WriteBmpFile(out, bitmap)) {
      case KBmpError::kNone:
        break;
      case KBmpError::kFileHeader:
        failure = "1";
        reason = "The file header could not be written";
        break;
      case KBmpError::kReadBits:
        failure = "18";
        reason = "The picture's pixels could not be read";
        break;
      case KBmpError::kInfoHeader:
        failure = "19";
        reason = "The picture's header could not be written";
        break;
      case KBmpError::kPixels:
        failure = "20";
        reason = "The picture's pixels could not be written";
        break;
    }
  }
  if (std::fclose(out) != 0 && failure == nullptr) {
    failure = "20";
    reason = "There is not enough memory for the image";
  }
  const std::unique_ptr<char, decltype(&std::free)> bytes(buffer, &std::free);
  if (failure != nullptr) {
    ReportFileProblem(kMsgSaveProblem, failure, path.Str().c_str(), reason);
    return;
  }
  const fileio::WriteResult written =
      fileio::ReplaceFile(FsPath(path), std::as_bytes(std::span<const char>(buffer, size)));
  if (!written.ok)
    ReportFileProblem(kMsgCreateProblem, createCode, path.Str().c_str(), written.message.c_str());
}

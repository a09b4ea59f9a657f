// The line base part of every line record.
//
//   legacy kind      BYTE   staff lines 0 (1 for a bass staff), tablature 2,
//                           other lines their kind code
//   staff length     int
//   group id         int
//   flags            DWORD
//   file word        int    100 x extension count + the exact kind on staff and
//                           tablature lines (0 on the others)
//   label            string
//   extension        extension count x int: the indent; on text lines the
//                           packed attachment records follow it
//
// Older files without the exact kind in the file word keep the legacy kind;
// files without an extension have no indent. A newer program may announce more
// extension words than this one knows: they are skipped after the once-per-run
// warning.

#include <memory>

#include "model/KExtendedObj.h"
#include "model/KLineObj.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"

namespace {

constexpr int kExtensionUnit = 100;

void SkipWords(CArchive& ar, long long count) {
  int word = 0;
  for (; count > 0; --count) ar >> word;
}

}  // namespace

void KLineObj::Serialize(CArchive& ar) {
  const int family = GetFamily();
  if (ar.IsStoring()) {
    BYTE legacyKind = static_cast<BYTE>(m_type);
    int exactKind = 0;
    if (family == kFamilyStaff) {
      legacyKind = m_type == kKindBassStaff ? 1 : 0;
      exactKind = m_type;
    } else if (family == kFamilyTab) {
      legacyKind = 2;
      exactKind = m_type;
    }
    // Text lines keep their attachments here; list lines store their own list.
    const std::vector<std::int32_t> packed =
        family == kFamilyText && AsListLine() == nullptr ? PackAttachments() : std::vector<std::int32_t>();
    m_fileWord = kExtensionUnit * (1 + static_cast<int>(packed.size())) + exactKind;
    ar << legacyKind << m_staffLength << m_groupId << m_flags << m_fileWord << m_label << m_indent;
    for (std::int32_t word : packed) ar << static_cast<int>(word);
    return;
  }

  BYTE legacyKind = 0;
  int staffLength = 0;
  int groupId = 0;
  DWORD flags = 0;
  int fileWord = 0;
  CString label;
  ar >> legacyKind >> staffLength >> groupId >> flags >> fileWord >> label;

  int type = legacyKind;
  if (legacyKind == 0 || (legacyKind == 2 && fileWord % kExtensionUnit != 0))
    type = fileWord % kExtensionUnit;
  // A negative word (a damaged file) announces nothing.
  long long count = fileWord > 0 ? fileWord / kExtensionUnit : 0;
  int indent = 0;
  std::vector<std::unique_ptr<KExtendedObj>> loaded;
  if (count >= 1) {
    ar >> indent;
    --count;
    if (count > 0 && FamilyOf(type) == kFamilyText) {
      // Records of a length word and that many words, up to a length of 0;
      // none may run past the words the file word announced.
      std::vector<std::int32_t> words;
      for (;;) {
        int length = 0;
        ar >> length;
        --count;
        if (length == 0) break;
        if (length < 0 || length > count) AfxThrowArchiveException(CArchiveException::generic);
        words.resize(static_cast<std::size_t>(length));
        for (std::int32_t& word : words) {
          int value = 0;
          ar >> value;
          word = value;
        }
        count -= length;
        loaded.push_back(std::make_unique<KExtendedObj>(words));
        if (count == 0) break;
      }
    }
    if (count > 0) {
      WarnNewerFileOnce();
      SkipWords(ar, count);
    }
  }

  // Everything is read: take it over.
  m_type = type;
  m_staffLength = staffLength;
  m_groupId = groupId;
  m_flags = flags;
  m_fileWord = fileWord;
  m_label = label;
  m_indent = indent;
  for (std::unique_ptr<KExtendedObj>& attachment : loaded) AppendAttachment(attachment.release());
}

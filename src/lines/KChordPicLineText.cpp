// KChordPicLine: the chord names as plain text (each name at its column) and
// as ABC chord symbols.

#include <string>

#include "lines/KChordPicLine.h"
#include "model/KChordPic.h"

std::optional<CString> KChordPicLine::WriteText(int from, int to, int) {
  std::string out;
  // The column that the end of the output stands at.
  long long end = from;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(m_objects.GetNext(node));
    if (diagram == nullptr) continue;
    const int p = diagram->GetPos();
    if (p < from || p > to) continue;
    if (end < p) {
      out.append(static_cast<std::size_t>(p - end), ' ');
      end = p;
    }
    const CString name = diagram->GetName();
    out.append(name.View());
    end += name.GetLength();
  }
  return CString(out.c_str(), static_cast<int>(out.size()));
}

std::optional<CString> KChordPicLine::WriteAbc() {
  std::string out;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(m_objects.GetNext(node));
    if (diagram == nullptr) continue;
    out += " \"";
    out.append(diagram->GetName().View());
    out += '"';
  }
  out += "\r\n";
  return CString(out.c_str(), static_cast<int>(out.size()));
}

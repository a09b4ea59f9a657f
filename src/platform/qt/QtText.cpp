#include "platform/qt/QtText.h"

#include "platform/Cp1252.h"

QString ToQString(std::string_view cp1252Bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1252Bytes.size()));
  for (unsigned char b : cp1252Bytes) out.append(QChar(static_cast<char16_t>(cp1252::ToUnicode(b))));
  return out;
}

std::string FromQString(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (const uint c : text.toUcs4()) out += static_cast<char>(cp1252::FromUnicode(c));
  return out;
}

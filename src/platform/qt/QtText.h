#pragma once
// The one place where the core's Windows-1252 byte strings meet Qt's Unicode.

#include <QList>
#include <QString>
#include <string>
#include <string_view>

QString ToQString(std::string_view cp1252Bytes);
std::string FromQString(const QString& text);

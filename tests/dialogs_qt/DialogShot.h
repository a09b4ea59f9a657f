#pragma once
// A picture of a dialog window for a reviewer: when STAVLIN_DIALOG_SHOTS names
// a folder, the window is shown, sized to its contents and saved there as
// <name>.png; otherwise nothing happens.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QWidget>

inline void SaveDialogShot(QWidget& window, const QString& name) {
  const QByteArray folder = qgetenv("STAVLIN_DIALOG_SHOTS");
  if (folder.isEmpty()) return;
  window.show();
  window.adjustSize();
  QDir().mkpath(QString::fromLocal8Bit(folder));
  window.grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/") + name + QStringLiteral(".png"));
}

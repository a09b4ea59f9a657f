#pragma once
// The modeless progress window of long passes ("In Progress...": a text, a
// bar and a Stop button). The pass opens it, moves the bar and now and then
// polls it for a stop request without waiting; the poll lets the window
// answer the user but never runs a command of the program. Without a port
// installed nothing is shown and nobody stops a pass; tests install a
// scripted one.

#include "platform/CString.h"

class ProgressPort {
 public:
  virtual ~ProgressPort() = default;
  virtual void Open(const CString& text) {}
  virtual void SetText(const CString& text) {}
  virtual void SetPercent(int percent) {}
  // True when the user asked to stop: the Stop button, the key s, S or space,
  // or a click on the window.
  virtual bool PollStop() { return false; }
  virtual void Close() {}
};

ProgressPort& CurrentProgressPort();
// Installs a port (not owned) and returns the previous one; nullptr restores
// the silent port.
ProgressPort* SetProgressPort(ProgressPort* port);

class ScopedProgressPort {
 public:
  explicit ScopedProgressPort(ProgressPort& port) : m_previous(SetProgressPort(&port)) {}
  ~ScopedProgressPort() { SetProgressPort(m_previous); }
  ScopedProgressPort(const ScopedProgressPort&) = delete;
  ScopedProgressPort& operator=(const ScopedProgressPort&) = delete;

 private:
  ProgressPort* m_previous;
};

// Opens the current port's window for the life of a scope.
class ProgressWindow {
 public:
  explicit ProgressWindow(const CString& text) { CurrentProgressPort().Open(text); }
  ~ProgressWindow() { CurrentProgressPort().Close(); }
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;
  void SetText(const CString& text) { CurrentProgressPort().SetText(text); }
  // Moves the bar and polls; true when the user asked to stop.
  bool Update(int percent) {
    CurrentProgressPort().SetPercent(percent);
    return CurrentProgressPort().PollStop();
  }
};

#pragma once
// Keys pressed on the X display the program's windows are on, and what the
// program sends to that display, measured from inside the program's own
// process (a Qt application on the xcb platform).
//
// - Keys go through the display's XTEST extension (FakeInput requests on the
//   program's own connection), so each key comes back from the X server as a
//   real key event and takes the whole road a typed key takes: Qt's event
//   reader, the keyboard map, the shortcut map, the focus widget.
// - Requests: every request the connection sends gets the next sequence
//   number, whoever sends it (Qt, Xlib on top of xcb, this file), so the
//   difference of two sequence numbers taken by probe requests counts what was
//   sent between them exactly; the probes and the injected keys are taken off.
// - Round trips: requests whose reply the program waits for, counted where
//   libxcb waits (xcb_wait_for_reply and xcb_wait_for_reply64, taken over in
//   the benchmark program), less this file's own probes.

#include <cstdint>
#include <string>
#include <vector>

struct xcb_connection_t;

class KXDisplayKeys {
 public:
  // On the connection of the running QGuiApplication (xcb platform). Ok()
  // tells whether XTEST and the keyboard map were found; Error() says why not.
  KXDisplayKeys();
  bool Ok() const { return m_error.empty(); }
  const std::string& Error() const { return m_error; }

  // Key symbols (X11 keysym values: Latin-1 characters are their own code).
  static constexpr std::uint32_t kRight = 0xff53;
  static constexpr std::uint32_t kLeft = 0xff51;
  static constexpr std::uint32_t kUp = 0xff52;
  static constexpr std::uint32_t kDown = 0xff54;
  static constexpr std::uint32_t kBackSpace = 0xff08;
  static constexpr std::uint32_t kControl = 0xffe3;
  static constexpr std::uint32_t kShift = 0xffe1;

  // Presses the modifiers (in order), then the key, and lets them all go in
  // reverse order; a character that needs Shift on this keyboard gets it.
  // Returns the requests it sent; 0 when the key is not on the keyboard.
  int Press(std::uint32_t keysym, const std::vector<std::uint32_t>& modifiers = {});

  // A request that is answered: returns its sequence number once the reply is
  // in, so that everything sent before it has reached the server.
  std::uint64_t Sync();

  // Round trips (waits for a reply) so far in this process.
  static std::uint64_t RoundTrips();

 private:
  struct KeyCode {
    std::uint8_t code = 0;
    bool shifted = false;
  };
  KeyCode Find(std::uint32_t keysym) const;
  void Fake(bool press, std::uint8_t code);

  xcb_connection_t* m_connection = nullptr;
  std::uint32_t m_root = 0;
  std::uint8_t m_firstKeyCode = 0;
  int m_symsPerCode = 0;
  std::vector<std::uint32_t> m_keysyms;
  std::string m_error;
};

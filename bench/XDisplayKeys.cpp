#include "XDisplayKeys.h"

#include <dlfcn.h>
#include <sys/uio.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<std::uint64_t> g_roundTrips{0};

// XTEST's FakeInput request (minor opcode 2), 36 bytes.
struct FakeInputRequest {
  std::uint8_t major = 0;  // filled in by xcb
  std::uint8_t minor = 2;
  std::uint16_t length = 9;  // filled in by xcb
  std::uint8_t type = 0;     // 2 KeyPress, 3 KeyRelease
  std::uint8_t detail = 0;   // the key code
  std::uint16_t pad0 = 0;
  std::uint32_t time = 0;  // 0: now
  std::uint32_t root = 0;
  std::uint8_t pad1[8] = {};
  std::int16_t rootX = 0;
  std::int16_t rootY = 0;
  std::uint8_t pad2[7] = {};
  std::uint8_t deviceId = 0;
};
static_assert(sizeof(FakeInputRequest) == 36);

xcb_extension_t g_xtest = {"XTEST", 0};

constexpr std::uint8_t kKeyPress = 2;
constexpr std::uint8_t kKeyRelease = 3;

}  // namespace

// libxcb waits for every reply here (Qt's and Xlib's requests alike); the
// benchmark program takes the two entry points over to count the waits.
extern "C" void* xcb_wait_for_reply(xcb_connection_t* c, unsigned int request, xcb_generic_error_t** e) {
  using Real = void* (*)(xcb_connection_t*, unsigned int, xcb_generic_error_t**);
  static const auto real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "xcb_wait_for_reply"));
  g_roundTrips.fetch_add(1, std::memory_order_relaxed);
  return real(c, request, e);
}

extern "C" void* xcb_wait_for_reply64(xcb_connection_t* c, std::uint64_t request, xcb_generic_error_t** e) {
  using Real = void* (*)(xcb_connection_t*, std::uint64_t, xcb_generic_error_t**);
  static const auto real = reinterpret_cast<Real>(::dlsym(RTLD_NEXT, "xcb_wait_for_reply64"));
  g_roundTrips.fetch_add(1, std::memory_order_relaxed);
  return real(c, request, e);
}

std::uint64_t KXDisplayKeys::RoundTrips() { return g_roundTrips.load(std::memory_order_relaxed); }

KXDisplayKeys::KXDisplayKeys() {
  auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  m_connection = x11 != nullptr ? x11->connection() : nullptr;
  if (m_connection == nullptr) {
    m_error = "not on an X display (the xcb platform)";
    return;
  }
  const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(m_connection, &g_xtest);
  if (xtest == nullptr || xtest->present == 0) {
    m_error = "the X display has no XTEST extension";
    return;
  }
  const xcb_setup_t* setup = xcb_get_setup(m_connection);
  m_root = xcb_setup_roots_iterator(setup).data->root;
  m_firstKeyCode = setup->min_keycode;
  const int count = setup->max_keycode - setup->min_keycode + 1;
  xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
      m_connection,
      xcb_get_keyboard_mapping(m_connection, setup->min_keycode, static_cast<std::uint8_t>(count)), nullptr);
  if (map == nullptr) {
    m_error = "the keyboard map could not be read";
    return;
  }
  m_symsPerCode = map->keysyms_per_keycode;
  const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
  m_keysyms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(map));
  std::free(map);
  if (Find(KXDisplayKeys::kControl).code == 0 || Find('a').code == 0)
    m_error = "the keyboard map has no letters";
}

KXDisplayKeys::KeyCode KXDisplayKeys::Find(std::uint32_t keysym) const {
  if (m_symsPerCode <= 0) return {};
  const std::size_t codes = m_keysyms.size() / static_cast<std::size_t>(m_symsPerCode);
  for (int column : {0, 1}) {
    if (column >= m_symsPerCode) break;
    for (std::size_t i = 0; i < codes; ++i) {
      if (m_keysyms[i * static_cast<std::size_t>(m_symsPerCode) + static_cast<std::size_t>(column)] == keysym)
        return KeyCode{static_cast<std::uint8_t>(m_firstKeyCode + i), column == 1};
    }
  }
  return {};
}

void KXDisplayKeys::Fake(bool press, std::uint8_t code) {
  FakeInputRequest request;
  request.type = press ? kKeyPress : kKeyRelease;
  request.detail = code;
  request.root = m_root;
  iovec parts[4];
  parts[2].iov_base = &request;
  parts[2].iov_len = sizeof(request);
  parts[3].iov_base = nullptr;
  parts[3].iov_len = 0;
  const xcb_protocol_request_t info = {2, &g_xtest, 2, 1};
  xcb_send_request(m_connection, 0, parts + 2, &info);
}

int KXDisplayKeys::Press(std::uint32_t keysym, const std::vector<std::uint32_t>& modifiers) {
  if (!Ok()) return 0;
  const KeyCode key = Find(keysym);
  if (key.code == 0) return 0;
  std::vector<std::uint8_t> held;
  for (std::uint32_t modifier : modifiers) held.push_back(Find(modifier).code);
  const bool addShift =
      key.shifted && std::find(modifiers.begin(), modifiers.end(), kShift) == modifiers.end();
  if (addShift) held.push_back(Find(kShift).code);
  int sent = 0;
  for (std::uint8_t code : held) Fake(true, code), ++sent;
  Fake(true, key.code);
  Fake(false, key.code);
  sent += 2;
  for (auto it = held.rbegin(); it != held.rend(); ++it) Fake(false, *it), ++sent;
  xcb_flush(m_connection);
  return sent;
}

std::uint64_t KXDisplayKeys::Sync() {
  if (m_connection == nullptr) return 0;
  const xcb_get_input_focus_cookie_t cookie = xcb_get_input_focus(m_connection);
  std::free(xcb_get_input_focus_reply(m_connection, cookie, nullptr));
  return cookie.sequence;
}

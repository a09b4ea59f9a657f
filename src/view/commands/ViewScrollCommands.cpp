// Actions/Scrolling: the auto-scroll speed (Faster, Slower, Set Speed and
// Lines/Scroll). Start and stop are the timers' (ViewTimers.cpp). The values
// go into the score's settings, so they are saved with it.

#include <algorithm>
#include <cmath>

#include "dialogs/KDlgScrollData.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr float kStep = 0.5f;
constexpr int kGroupLines = 100;

int Tenths(float seconds) { return static_cast<int>(seconds * 10.0f + 0.001f); }

// The delay, lines and sound into the settings and the mirrors; the timer
// takes the new delay.
void StoreScrolling(CStavlinView& view) {
  ScoreSettings& s = view.m_options;
  s.scrollDelay =
      static_cast<short>((s.scrollDelay / 1000) * 1000 + std::clamp(Tenths(view.m_scrollSeconds), 0, 999));
  s.scrollLines = static_cast<BYTE>(std::clamp(view.m_scrollStep, 0, 255));
  s.scrollSound = static_cast<BYTE>(view.m_scrollBeep != 0 ? 1 : 0);
  s.repeatScrolling = static_cast<BYTE>(view.m_scrollLoop != 0 ? 1 : 0);
  if (view.m_document != nullptr) view.m_document->SetSettings(s, TRUE);
  g_viewMirrors.scrollLines = view.m_scrollStep % kGroupLines;
  g_viewMirrors.scrollSeconds = static_cast<int>(view.m_scrollSeconds);
  view.StartScrollTimer(view.m_scrollSeconds);
}

}  // namespace

void OnActionsScrollingFaster(CStavlinView& view) {
  if (view.m_scrollSeconds > kStep + 0.001f) view.m_scrollSeconds -= kStep;
  StoreScrolling(view);
}

void OnActionsScrollingSlower(CStavlinView& view) {
  view.m_scrollSeconds += kStep;
  StoreScrolling(view);
}

void OnActionsScrollingSetSpeed(CStavlinView& view) {
  KDlgScrollData dialog;
  dialog.tenths = Tenths(view.m_scrollSeconds);
  dialog.lines = view.m_scrollStep % kGroupLines;
  dialog.countAsScore = view.m_scrollStep >= kGroupLines ? 1 : 0;
  dialog.sound = view.m_scrollBeep != 0 ? 0 : 1;
  dialog.repeat = view.m_scrollLoop != 0 ? 0 : 1;
  dialog.permanent = 0;
  if (dialog.DoModal() != IDOK) return;
  view.m_scrollSeconds = static_cast<float>(dialog.tenths) * 0.1f;
  view.m_scrollStep = dialog.lines + (dialog.countAsScore != 0 ? kGroupLines : 0);
  view.m_scrollBeep = dialog.sound == 0 ? 1 : 0;
  view.m_scrollLoop = dialog.repeat == 0 ? 1 : 0;
  StoreScrolling(view);
  if (dialog.permanent != 0) {
    g_prefScrolling.lines = dialog.lines;
    g_prefScrolling.delay = dialog.tenths;
    g_prefScrolling.countGroupAsOne = dialog.countAsScore != 0 ? 1 : 0;
    g_prefScrolling.soundOn = view.m_scrollBeep;
    g_prefScrolling.repeat = view.m_scrollLoop;
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kScrolling);
  }
}

namespace {

constexpr KViewCommandHandler kHandlers[] = {
    {cmd::kScrollSlower, cmd::kScrollSlower, [](CStavlinView& v, UINT) { OnActionsScrollingSlower(v); }},
    {cmd::kScrollFaster, cmd::kScrollFaster, [](CStavlinView& v, UINT) { OnActionsScrollingFaster(v); }},
    {cmd::kScrollSetSpeed, cmd::kScrollSetSpeed,
     [](CStavlinView& v, UINT) { OnActionsScrollingSetSpeed(v); }},
};

}  // namespace

std::span<const KViewCommandHandler> ScrollCommandHandlers() { return kHandlers; }

// The view's playback commands: Actions/MIDI/Set MIDI Play Range Marks, and
// the view's access to its player.

#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/play/ViewPlayer.h"

namespace {

constexpr short kNoMarks = 10000;

constexpr KViewCommandHandler kPlayCommands[] = {
    {cmd::kMidiMarks, cmd::kMidiMarks, [](CStavlinView& v, UINT) { v.OnActionsSetMidiMarks(); }},
};

}  // namespace

KViewPlayer& CStavlinView::Player() {
  if (m_player == nullptr) m_player = std::make_unique<KViewPlayer>(*this);
  return *m_player;
}

bool CStavlinView::IsPlaying() const { return m_player != nullptr && m_player->IsPlaying(); }

bool CStavlinView::ShowsCaretForPlay() const {
  return m_player != nullptr && (m_player->IsPlaying() || m_player->StepCaretShown());
}

void CStavlinView::OnActionsSetMidiMarks() {
  Player().ArmMidiMarks();
  m_options.word70 = kNoMarks;
  if (m_document != nullptr) m_document->SetSettings(m_options, TRUE);
}

std::span<const KViewCommandHandler> PlayCommandHandlers() { return kPlayCommands; }

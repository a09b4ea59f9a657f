// The Actions menu's commands that reflow and respace the music.

#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/music/ViewMusic.h"

namespace {

constexpr KViewCommandHandler kHandlers[] = {
    {cmd::kActionsStaffLength, cmd::kActionsStaffLength,
     [](CStavlinView& v, UINT) { OnActionsSetStaffLength(v); }},
    {cmd::kActionsWrapMusic, cmd::kActionsWrapMusic, [](CStavlinView& v, UINT) { WrapMusic(v); }},
    {cmd::kActionsEvenSpace, cmd::kActionsEvenSpace,
     [](CStavlinView& v, UINT) { EvenlySpaceNotation(v, -1); }},
    {cmd::kActionsEvenSpaceContinuous, cmd::kActionsEvenSpaceContinuous,
     [](CStavlinView& v, UINT) { EvenlySpaceContinuously(v); }},
};

}  // namespace

std::span<const KViewCommandHandler> ReflowCommandHandlers() { return kHandlers; }

#include "screens/UNoPuzzleNote.h"

#include <string>

#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "core/UTextIds.h"
#include "graphics/UGraphicsEngine.h"

namespace qj {
namespace {

// Steps at full opacity; the fades keep a hint's usual number of steps, so they stay quick.
constexpr int kHoldSteps = 400;

}  // namespace

TDXHint& ShowNoPuzzleNote(TInterface& maker, const TDXControl* saveButton) {
  TDXHint& note = maker.AddOwnedControl<TDXHint>();
  const std::string save = saveButton && !saveButton->GetCaption().empty() ? saveButton->GetCaption() : Lang(Text::Save);
  std::string text = Lang(Text::NoPuzzleYetNote);
  if (const size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, save);
  note.SetCaption(text);
  // No hover zone: the note is shown once, not again when the mouse rests there.
  const int width = maker.FEngine->FWidth, height = maker.FEngine->FHeight;
  note.FHintRect = saveButton ? MakeRect(saveButton->FLeft, saveButton->FTop, saveButton->FWidth, saveButton->FHeight)
                              : MakeRect(width / 2, height / 2, 1, 1);
  note.PlaceBeside(!saveButton || saveButton->FLeft > width / 2);
  note.SetHoldSteps(kHoldSteps);
  if (note.ShowHint()) note.FFrameInterval = uint32_t(kNoPuzzleNoteMs / (kHoldSteps + TDXHint::kShowSteps));
  return note;
}

}  // namespace qj

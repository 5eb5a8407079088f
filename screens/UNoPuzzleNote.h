// The note over the maker when the player asked to play a picture that has no puzzle yet: what
// is missing and how to make it, standing beside the button that saves the puzzle.
#pragma once

namespace qj {

class TDXControl;
class TDXHint;
class TInterface;

// How long the note stays before it fades.
constexpr int kNoPuzzleNoteMs = 9000;

// Shows the note on the screen (which frees it when left) above `saveButton`, or at the middle of
// the screen without one, and returns it.
TDXHint& ShowNoPuzzleNote(TInterface& maker, const TDXControl* saveButton);

}  // namespace qj

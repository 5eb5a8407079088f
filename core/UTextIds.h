// Names for the language lines the program shows; every language file numbers its lines alike.
#pragma once

#include <string>

// X(name, line, count, kind): the name of a line, or of the first of `count` lines that the code
// reaches by adding an offset to it. A Hint line is "caption|text", split at its one bar; a Plain
// line is shown whole. Two names may share a line when the code uses it both alone and in a block.
#define QJ_TEXT_IDS(X)                                                                          \
  X(GameTitle, 0, 1, Plain)                                                                     \
  X(MenuHints, 0, 24, Hint) /* in-game menu button i: left 2i, right 2i + 1; exit has no left */ \
  X(LeaveThisPuzzle, 1, 1, Hint)                                                                \
  X(ThisMayTakeAMoment, 23, 1, Plain)                                                           \
  X(HotKeyRowNames, 24, 14, Plain)                                                              \
  X(PressTheNewKey, 38, 1, Plain)                                                               \
  X(PressTheLeftClickKey, 39, 1, Plain)                                                         \
  X(NowTheRightClickKey, 40, 1, Plain)                                                          \
  X(KeepTheseSettings, 41, 1, Hint)                                                             \
  X(UndoTheChanges, 42, 1, Hint)                                                                \
  X(LeaveForTheSavedMode, 44, 1, Hint)                                                          \
  X(TheBestLook, 45, 1, Hint)                                                                   \
  X(SettingsThatWork, 46, 1, Hint)                                                              \
  X(Safe, 47, 1, Plain)                                                                         \
  X(Optimal, 48, 1, Plain)                                                                      \
  X(Close, 49, 1, Plain)                                                                        \
  X(Reload, 51, 1, Plain)                                                                       \
  X(Ok, 52, 1, Plain)                                                                           \
  X(Options, 53, 1, Plain)                                                                      \
  X(MakerInfoLabels, 54, 6, Plain) /* pieces, picture, piece size, distortion, spread, check */ \
  X(PiecesLabel, 54, 1, Plain)                                                                  \
  X(PiecesWord, 60, 1, Plain)                                                                   \
  X(BestScoreLabel, 61, 1, Plain)                                                               \
  X(PuzzleLabel, 62, 1, Plain)                                                                  \
  X(PuzzleMaker, 64, 1, Plain)                                                                  \
  X(Save, 65, 1, Plain)                                                                         \
  X(Cancel, 66, 1, Plain)                                                                       \
  X(Check, 67, 1, Plain)                                                                        \
  X(AllowLoupe, 68, 1, Plain)                                                                   \
  X(AllowRotation, 69, 1, Plain)                                                                \
  X(AllowSmallPicture, 70, 1, Plain)                                                            \
  X(AllowGhostImage, 71, 1, Plain)                                                              \
  X(ShadowLabel, 72, 1, Plain)                                                                  \
  X(BevelLabel, 73, 1, Plain)                                                                   \
  X(NoLoupe, 75, 1, Hint)                                                                       \
  X(NoGhostImage, 76, 1, Hint)                                                                  \
  X(NoSmallPicture, 77, 1, Hint)                                                                \
  X(TimeLabel, 78, 1, Plain)                                                                    \
  X(DoneLabel, 79, 1, Plain)                                                                    \
  X(RotateClockwise, 80, 1, Plain)                                                              \
  X(SwapMouseButtons, 81, 1, Plain)                                                             \
  X(ShowStars, 82, 1, Plain)                                                                    \
  X(AutoHideMenuBar, 83, 1, Plain)                                                              \
  X(AutoHideScrolling, 84, 1, Plain)                                                            \
  X(SwitchToThisMode, 85, 1, Hint)                                                              \
  X(Apply, 86, 1, Plain)                                                                        \
  X(FullScreen, 87, 1, Plain)                                                                   \
  X(NoWaiting, 88, 1, Plain)                                                                    \
  X(WaitForVerticalBlank, 89, 1, Plain)                                                         \
  X(FollowTheBeam, 90, 1, Plain)                                                                \
  X(Pieces, 91, 1, Plain)                                                                       \
  X(Show, 92, 1, Plain)                                                                         \
  X(CubeNames, 93, 3, Plain)                                                                    \
  X(Controls, 96, 1, Plain)                                                                     \
  X(HintsGetShorter, 97, 1, Plain)                                                              \
  X(Screen, 98, 1, Plain)                                                                       \
  X(Sound, 99, 1, Plain)                                                                        \
  X(Look, 100, 1, Plain)                                                                        \
  X(Table, 101, 1, Plain)                                                                       \
  X(PickingUpPieces, 102, 1, Plain)                                                             \
  X(DragAndDrop, 103, 1, Plain)                                                                 \
  X(ClickToTakeClickToDrop, 104, 1, Plain)                                                      \
  X(DragOrClick, 105, 1, Plain)                                                                 \
  X(PleaseConfirm, 106, 1, Plain)                                                               \
  X(Keep, 107, 1, Plain)                                                                        \
  X(KeepTheNewMode, 108, 1, Hint)                                                               \
  X(Undo, 109, 1, Plain)                                                                        \
  X(GoBackToTheOldMode, 110, 1, Hint)                                                           \
  X(HotKeys, 111, 1, Plain)                                                                     \
  X(Defaults, 112, 1, Plain)                                                                    \
  X(RestoreTheStandardKeys, 113, 1, Hint)                                                       \
  X(ShowChanged, 114, 1, Plain)                                                                 \
  X(AnimationStep, 115, 1, Plain)                                                               \
  X(HintDelay, 116, 1, Plain)                                                                   \
  X(HintTime, 117, 1, Plain)                                                                    \
  X(Milliseconds, 118, 1, Plain)                                                                \
  X(LoupeZoom, 119, 1, Plain)                                                                   \
  X(SnapRange, 120, 1, Plain)                                                                   \
  X(ScatterRange, 121, 1, Plain)                                                                \
  X(TurnSpeed, 122, 1, Plain)                                                                   \
  X(TurnSpeedInstant, 123, 1, Plain)                                                            \
  X(SlideSpeed, 124, 1, Plain)                                                                  \
  X(FramesPerSecond, 125, 1, Plain)                                                             \
  X(FramesPerSecondNoLimit, 126, 1, Plain)                                                      \
  X(Resolution, 127, 1, Plain)                                                                  \
  X(RefreshRate, 128, 1, Plain)                                                                 \
  X(Hertz, 129, 1, Plain)                                                                       \
  X(Theme, 130, 1, Plain)                                                                       \
  X(TableBackground, 131, 1, Plain)                                                             \
  X(Language, 132, 1, Plain)                                                                    \
  X(SoundEffects, 133, 1, Plain)                                                                \
  X(SoundEffectsOff, 134, 1, Plain)                                                             \
  X(CanYouSeeThisClearly, 135, 1, Plain)                                                        \
  X(TheOldModeReturnsIn, 136, 1, Plain)                                                         \
  X(SecondsUnlessYouPressKeep, 137, 1, Plain)                                                   \
  X(AllowNeighbourHelps, 138, 1, Plain)                                                         \
  X(NoNeighbourHelps, 139, 1, Hint)                                                             \
  X(CheckStates, 140, 3, Plain) /* not checked yet, fine, not sound */                          \
  X(NotCheckedYet, 140, 1, Plain)                                                               \
  X(NotSound, 142, 1, Plain)                                                                    \
  X(CutCannotBeSaved, 143, 1, Plain)                                                            \
  X(ShapesSplitOrJoinPieces, 144, 1, Plain)                                                     \
  X(PiecesWouldNotMatch, 145, 1, Plain)                                                         \
  X(TryAnotherShape, 146, 1, Plain)                                                             \
  X(OrLessDistortion, 147, 1, Plain)                                                            \
  X(MenuCaptions, 148, 12, Plain) /* in-game menu button i */                                   \
  X(Play, 160, 1, Plain)                                                                        \
  X(PlayThisPuzzle, 161, 1, Hint)                                                               \
  X(Make, 162, 1, Plain)                                                                        \
  X(CutThisPicture, 163, 1, Hint)                                                               \
  X(Arrange, 164, 1, Plain)                                                                     \
  X(LineUpThePictures, 165, 1, Hint)                                                            \
  X(Back, 166, 1, Plain)                                                                        \
  X(BackToTheMainMenu, 167, 1, Hint)                                                            \
  X(SavingFailed, 168, 1, Plain)                                                                \
  X(GameCouldNotBeSaved, 169, 1, Plain)                                                         \
  X(LoadingFailed, 170, 1, Plain)                                                               \
  X(SavedGameIsDamaged, 171, 1, Plain)                                                          \
  X(JoinsLabel, 172, 1, Plain)                                                                  \
  X(DropsLabel, 173, 1, Plain)                                                                  \
  X(MagnetPullsLabel, 174, 1, Plain)                                                            \
  X(NeighbourHintsLabel, 175, 1, Plain)                                                         \
  X(NoGhostLabel, 176, 1, Plain)                                                                \
  X(SmallPictureLabel, 177, 1, Plain)                                                           \
  X(NoPlaceAndPinLabel, 178, 1, Plain)                                                          \
  X(SnapRangeLabel, 179, 1, Plain)                                                              \
  X(ScoreLabel, 180, 1, Plain)                                                                  \
  X(Abandon, 181, 1, Plain)                                                                     \
  X(GiveUpThisGame, 182, 1, Hint)                                                               \
  X(AddPicture, 183, 1, Plain)                                                                  \
  X(CopyAPicture, 184, 1, Hint)                                                                 \
  X(ChooseAPuzzle, 185, 1, Plain)                                                               \
  X(ReallyAbandon, 186, 1, Plain)                                                               \
  X(ThePuzzleStays, 187, 1, Plain)                                                              \
  X(LostForGood, 188, 1, Plain)                                                                 \
  X(YesDelete, 189, 1, Hint)                                                                    \
  X(NoKeep, 190, 1, Hint)                                                                       \
  X(AddingFailed, 191, 1, Plain)                                                                \
  X(PictureCouldNotBeCopied, 192, 1, Plain)                                                     \
  X(ProgressHintEvery, 193, 1, Plain)                                                           \
  X(LeaveTheTable, 196, 1, Hint)                                                                \
  X(BackToThePuzzle, 197, 1, Hint)                                                              \
  X(PickAPuzzle, 198, 1, Hint)                                                                  \
  X(SoundScreenAndKeys, 199, 1, Hint)                                                           \
  X(ContinueYourLastPuzzle, 200, 1, Hint)                                                       \
  X(WhoMadeThisGame, 202, 1, Hint)                                                              \
  X(QuitSeeYouSoon, 203, 1, Hint)                                                               \
  X(VeryManyPieces, 204, 1, Plain)                                                              \
  X(TakesALongTime, 205, 1, Plain)                                                              \
  X(SaveAllTheSame, 206, 1, Plain)                                                              \
  X(NoPuzzleMadeYet, 207, 1, Plain)                                                             \
  X(DisplayDefault, 208, 1, Plain)                                                              \
  X(CuttingThePuzzle, 209, 1, Plain)                                                            \
  X(LoadingPleaseWait, 210, 1, Plain)                                                           \
  X(SavingTheGame, 211, 1, Plain)                                                               \
  X(CheckingTheCut, 212, 1, Plain)                                                              \
  X(Music, 213, 1, Plain)                                                                       \
  X(MusicOff, 214, 1, Plain)                                                                    \
  X(Welcome, 215, 1, Plain)                                                                     \
  X(ChooseAPictureToAdd, 216, 1, Plain)                                                         \
  X(UpToTheFolderAbove, 217, 1, Hint)                                                           \
  X(AddTheChosenPicture, 218, 1, Hint)                                                          \
  X(CancelAddNothing, 219, 1, Hint)                                                             \
  X(KeyUsedTwice, 230, 1, Plain)                                                                \
  X(EscapeKeepsTheOldKeys, 231, 1, Plain)                                                       \
  X(CutStyleNames, 232, 9, Plain)                                                               \
  X(CreditsRoll, 241, 26, Plain) /* headings and lines, in rolling order */                     \
  X(DesktopResolution, 270, 1, Plain)                                                           \
  X(WholeTableRow, 280, 1, Plain) /* hot-key row of the overview */                             \
  X(WholeTableHints, 281, 2, Hint) /* overview button: left, right */                           \
  X(WholeTableCaption, 283, 1, Plain)                                                           \
  X(SpreadNewGames, 290, 1, Plain)                                                              \
  X(SpreadOutKeys, 291, 1, Plain) /* the hot-key row past HotKeyRowNames */                     \
  X(SpreadOutHint, 292, 1, Hint)                                                                \
  X(SpreadOutCaption, 293, 1, Plain)                                                            \
  X(PuzzleComplete, 300, 1, Plain)                                                              \
  X(PictureWholeAgain, 301, 1, Plain)                                                           \
  X(HelpsUsedLabel, 302, 1, Plain)                                                              \
  X(NoHelpsUsed, 303, 1, Plain)                                                                 \
  X(HelpNames, 304, 5, Plain) /* ghost, small picture, place and pin, magnet, neighbour hints */ \
  X(NewBest, 309, 1, Plain)                                                                     \
  X(BackToThePictures, 310, 1, Hint)                                                            \
  X(StayAtTheTable, 311, 1, Hint)                                                               \
  X(ProgressFormat, 312, 1, Plain) /* %1 the percentage joined, %2 the playing time */          \
  X(LastPuzzleFinished, 313, 1, Hint)                                                           \
  X(ShowProgressOnTable, 314, 1, Plain)                                                         \
  X(InProgressLabel, 315, 1, Plain)                                                             \
  X(ReplaceYourGame, 430, 1, Plain)                                                             \
  X(GameInProgressOf, 431, 1, Plain) /* %1 the picture, %2 its progress */                      \
  X(NewCutDeletesGame, 432, 1, Plain)                                                           \
  X(Replace, 433, 1, Plain)                                                                     \
  X(ReplaceHint, 434, 1, Hint)                                                                  \
  X(KeepMyGame, 435, 1, Plain)                                                                  \
  X(KeepMyGameHint, 436, 1, Hint)                                                               \
  X(PuzzleNotSaved, 437, 1, Plain)                                                              \
  X(SaveFailureCauses, 438, 5, Plain) /* no permission, disk full, read-only, in the way, other (%1) */\
  X(OldGameNotDeleted, 443, 1, Plain)                                                           \
  X(NotSaved, 444, 1, Plain)                                                                    \
  X(PiecesCaption, 445, 1, Plain) /* %1 across, %2 down, %3 in all */                           \
  X(PieceWidthCaption, 446, 1, Plain)                                                           \
  X(PieceHeightCaption, 447, 1, Plain)                                                          \
  X(ShiftAcrossCaption, 448, 1, Plain)                                                          \
  X(ShiftDownCaption, 449, 1, Plain)                                                            \
  X(IrregularAcrossCaption, 450, 1, Plain)                                                      \
  X(IrregularDownCaption, 451, 1, Plain)                                                        \
  X(PieceWidthHint, 452, 1, Hint)                                                               \
  X(PieceHeightHint, 453, 1, Hint)                                                              \
  X(ShiftAcrossHint, 454, 1, Hint)                                                              \
  X(ShiftDownHint, 455, 1, Hint)                                                                \
  X(IrregularityHint, 456, 1, Hint)                                                             \
  X(ShadowHint, 457, 1, Hint)                                                                   \
  X(BevelHint, 458, 1, Hint)                                                                    \
  X(PlayOptionHints, 459, 5, Hint) /* in the order of the maker's boxes */                      \
  X(CutStyleHint, 464, 1, Hint)                                                                 \
  X(PieceShapeHint, 465, 1, Hint)                                                               \
  X(MakerSaveHint, 466, 1, Hint)                                                                \
  X(MakerCancelHint, 467, 1, Hint)                                                              \
  X(MakerCheckHint, 468, 1, Hint)                                                               \
  X(FitToPicture, 469, 1, Plain)                                                                \
  X(FitToPictureHint, 470, 1, Hint)                                                             \
  X(PreviewHint, 471, 1, Hint)                                                                  \
  X(BackToTheMakerHint, 472, 1, Hint)                                                           \
  X(SaveManyPiecesHint, 473, 1, Hint)                                                           \
  X(ChooseLargerPiecesHint, 474, 1, Hint)                                                       \
  X(PictureCannotBeOpened, 380, 1, Plain) /* %1 the file */                                     \
  X(FileNotFound, 381, 1, Plain)                                                                \
  X(FileIsFolder, 382, 1, Plain)                                                                \
  X(FileNotReadable, 383, 1, Plain)                                                             \
  X(FileEmpty, 384, 1, Plain)                                                                   \
  X(FileNotAPicture, 385, 1, Plain)                                                             \
  X(PictureDamaged, 386, 1, Plain)                                                              \
  X(PictureTooSmall, 387, 1, Plain)                                                             \
  X(GameCannotBeContinued, 388, 1, Plain) /* %1 the picture */                                  \
  X(SavedGameMissing, 389, 1, Plain)                                                            \
  X(NoPuzzleMadeOfIt, 391, 1, Plain)                                                            \
  X(ReasonGiven, 392, 1, Plain) /* %1 the system's words */                                     \
  X(HelpTitle, 393, 1, Plain)                                                                   \
  X(OpenInBrowser, 394, 1, Hint)                                                                \
  X(CloseHelp, 395, 1, Hint)                                                                    \
  X(BrowserDidNotStart, 396, 1, Plain)                                                          \
  X(HelpPageCannotBeShown, 397, 1, Plain) /* %1 the page */                                     \
  X(HelpPageDamaged, 398, 1, Plain)                                                             \
  X(SomethingWentWrong, 399, 1, Plain)                                                          \
  X(ThemeCannotBeUsed, 400, 1, Plain) /* %1 the theme */                                        \
  X(PictureNotAdded, 401, 1, Plain) /* %1 the file */                                           \
  X(NoPuzzlePlayedYet, 402, 1, Plain)                                                           \
  X(MainMenuCaptions, 340, 5, Plain) /* play, options, continue, credits, quit */               \
  X(ContinueSavedGame, 345, 1, Hint) /* %1 the percentage, %2 the playing time, %3 the puzzle */ \
  X(NothingToContinue, 346, 1, Hint)                                                            \
  X(LastPuzzleGone, 347, 1, Hint) /* %1 the puzzle */                                           \
  X(TwoSidedHint, 348, 1, Hint) /* each half: %1 what a click does, %2 how */                    \
  X(TrayCaption, 349, 1, Plain) /* followed by the tray's number */                             \
  X(TrayHint, 350, 1, Hint)                                                                     \
  X(SmallPictureTitle, 351, 1, Plain)                                                           \
  X(GhostImageTitle, 352, 1, Plain)                                                             \
  X(NoPuzzleYetNote, 480, 1, Hint) /* %1 the caption of the button that saves the puzzle */     \
  X(MorePage, 510, 1, Plain)                                                                    \
  X(MorePageHint, 511, 1, Hint)                                                                 \
  X(MainPage, 512, 1, Plain)                                                                    \
  X(MainPageHint, 513, 1, Hint)                                                                 \
  X(Advanced, 514, 1, Plain)                                                                    \
  X(OptionsCheckHints, 515, 16, Hint) /* one per options check box, in their order */          \
  X(OptionsSliderHints, 531, 18, Hint) /* one per options slider, in their order */            \
  X(FewerColours, 549, 1, Plain)                                                                \
  X(LeftClickKey, 550, 1, Plain)                                                                \
  X(RightClickKey, 551, 1, Plain)                                                               \
  X(OneKey, 552, 1, Plain)                                                                      \
  X(SortKeys, 353, 1, Plain) /* the hot-key row of the sort into trays */                       \
  X(SortHint, 354, 1, Hint)                                                                     \
  X(SortCaption, 355, 1, Plain)                                                                 \
  X(EdgesCaption, 356, 1, Plain) /* the tray of the edge pieces */                              \
  X(TrayColourNames, 357, 12, Plain) /* reds, oranges ... greys, light, dark */                 \
  X(LightShade, 369, 1, Plain) /* before a colour name: the lighter of two trays */             \
  X(DarkShade, 370, 1, Plain)                                                                   \
  X(UndoKeys, 403, 1, Plain) /* the hot-key row of undo and redo */                             \
  X(UndoKeyLabel, 404, 1, Plain)                                                                \
  X(RedoKeyLabel, 405, 1, Plain)                                                                \
  X(PressTheUndoKey, 406, 1, Plain)                                                             \
  X(NowTheRedoKey, 407, 1, Plain)                                                               \
  X(UndoneNote, 408, 1, Hint) /* %1: how many steps are left */                                 \
  X(RedoneNote, 409, 1, Hint)                                                                   \
  X(NothingToUndo, 410, 1, Hint)                                                                \
  X(NothingBeforeJoin, 411, 1, Hint)                                                            \
  X(NothingBeyondLimit, 412, 1, Hint)                                                           \
  X(NothingToRedo, 413, 1, Hint)                                                                \
  X(UndoWaits, 414, 1, Hint)                                                                    \
  X(StatisticsKeys, 553, 1, Plain) /* the hot-key row of the statistics window */               \
  X(StatisticsCaption, 554, 1, Plain)                                                           \
  X(StatisticsHint, 555, 1, Hint)                                                               \
  X(NoBestScoreYet, 556, 1, Plain)                                                              \
  X(JoinsPerMinute, 557, 1, Plain)                                                              \
  X(NoJoinsYet, 558, 1, Plain)                                                                  \
  X(ChartFromMinute, 559, 1, Plain) /* %1: the first minute the chart knows */                  \
  X(MinutesAxis, 560, 1, Plain)                                                                 \
  X(AutosaveEvery, 316, 1, Plain) /* %1 minutes */                                              \
  X(AutosaveOff, 317, 1, Plain)                                                                 \
  X(AutosaveSliderHint, 318, 1, Hint)                                                           \
  X(ContinueAutosavedGame, 319, 1, Hint) /* as ContinueSavedGame; %4 the time of the autosave */ \
  X(AutosaveFailed, 320, 1, Hint) /* %1 the cause */

namespace qj {

enum class ETextId : int {
#define QJ_TEXT_ID_ENUMERATOR(name, line, count, kind) name = line,
  QJ_TEXT_IDS(QJ_TEXT_ID_ENUMERATOR)
#undef QJ_TEXT_ID_ENUMERATOR
};

// Written Text::Play: the names without the type's prefix.
namespace Text {
using enum ETextId;
}

// A line `offset` lines into a block.
constexpr ETextId operator+(ETextId first, int offset) { return ETextId(int(first) + offset); }

// The text key of a line: a caption holding it shows the line of the language in use when it is
// painted, so a change of language relabels it.
inline std::string TextKey(ETextId id) { return "$" + std::to_string(int(id)); }

}  // namespace qj

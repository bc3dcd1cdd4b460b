#pragma once

#include <cstddef>

namespace scorvane {

// The entries of the text table (Program::Lang) that the code reads, by their role. The values are the
// line numbers of the language files ("NN=text"); Files/Lang/English.lng shows every text.
namespace Text {
// Menus and main-window captions.
inline constexpr std::size_t MenuFile = 1;
inline constexpr std::size_t MenuQuit = 2;
inline constexpr std::size_t MenuDestroy = 3;
inline constexpr std::size_t MenuDonations = 5;
inline constexpr std::size_t MenuDonate = 6;
inline constexpr std::size_t MenuHelp = 7;
inline constexpr std::size_t MenuUpdates = 8;
inline constexpr std::size_t MenuAbout = 9;
inline constexpr std::size_t ShutDownWhenFinished = 10;
inline constexpr std::size_t RightsReserved = 11;
inline constexpr std::size_t MethodHeading = 34;
inline constexpr std::size_t FirstMethodName = 35;  // method k's name is 35 + 2k, its description 36 + 2k
inline constexpr std::size_t MenuLanguage = 55;
inline constexpr std::size_t MenuOptions = 56;
inline constexpr std::size_t MenuMoreLanguages = 79;
inline constexpr std::size_t DestroyFolder = 80;
inline constexpr std::size_t MenuVersionHistory = 82;
inline constexpr std::size_t DestroyFiles = 84;
inline constexpr std::size_t WipeFreeSpace = 85;

// The question before a run, and the end of a run.
inline constexpr std::size_t AskOverwrite = 12;
inline constexpr std::size_t AskContinue = 13;
inline constexpr std::size_t WarningTitle = 14;
inline constexpr std::size_t WipingCompleted = 17;
inline constexpr std::size_t FinishedTitle = 18;
inline constexpr std::size_t CancelledTitle = 26;
inline constexpr std::size_t Cancelled = 27;
inline constexpr std::size_t ItemsRemain = 88;

// Failures and refusals.
inline constexpr std::size_t WipingErrorTitle = 28;
inline constexpr std::size_t DriveNotWritable = 31;
inline constexpr std::size_t GutmannFileTooLarge = 66;
inline constexpr std::size_t GutmannErrorTitle = 67;
inline constexpr std::size_t GutmannErrorNumber = 68;
inline constexpr std::size_t NameCannotBeShown = 83;
inline constexpr std::size_t RootRefused = 86;
inline constexpr std::size_t OtherNamesKept = 87;
inline constexpr std::size_t KernelFileSystemRefused = 89;
inline constexpr std::size_t ChangedWhileWiped = 90;
inline constexpr std::size_t LanguageFileUnreadable = 91;

// Pickers.
inline constexpr std::size_t AllFiles = 15;
inline constexpr std::size_t LanguageFilesDescription = 50;  // the same entry as method 7's description
inline constexpr std::size_t ProgramName = 21;
inline constexpr std::size_t ChooseFiles = 75;
inline constexpr std::size_t AllFilesFilter = 77;
inline constexpr std::size_t ChooseFolder = 81;

// The free-space wipe: its refusal, its warning, its statistics and its end.
inline constexpr std::size_t NoGutmannForFreeSpace = 19;
inline constexpr std::size_t ChooseAnotherMethod = 20;
inline constexpr std::size_t FillWillStart = 22;
inline constexpr std::size_t FillTakesLong = 23;
inline constexpr std::size_t FillStartsOnClose = 24;
inline constexpr std::size_t FillTitle = 25;
inline constexpr std::size_t FreeSpaceWipedIn = 29;
inline constexpr std::size_t Seconds = 30;
inline constexpr std::size_t Hours = 57;
inline constexpr std::size_t Minutes = 58;
inline constexpr std::size_t ElapsedHours = 70;
inline constexpr std::size_t Speed = 71;
inline constexpr std::size_t TimeLeft = 72;
inline constexpr std::size_t And = 78;

// The progress window and the free-space wipe.
inline constexpr std::size_t Preparing = 61;
inline constexpr std::size_t WipingInProgress = 62;
inline constexpr std::size_t CancelCaption = 63;
inline constexpr std::size_t Stopping = 64;
inline constexpr std::size_t PleaseWait = 65;
inline constexpr std::size_t PassLabel = 69;
inline constexpr std::size_t WrittenLabel = 73;
inline constexpr std::size_t WipingFreeSpace = 74;

// The about box.
inline constexpr std::size_t AboutDescription = 60;
}  // namespace Text

}  // namespace scorvane

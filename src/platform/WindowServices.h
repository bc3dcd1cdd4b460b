#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Result.h"

namespace scorvane {

namespace MessageStyle {
inline constexpr int Ok = 0;
inline constexpr int YesNo = 4;
inline constexpr int Exclamation = 0x30;
inline constexpr int Information = 0x40;
inline constexpr int SecondButtonDefault = 0x100;
}  // namespace MessageStyle

namespace MessageAnswer {
inline constexpr int Ok = 1;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace MessageAnswer

// A pattern of a file dialog: its description and the pattern itself ("*.lng").
using FileFilter = std::pair<std::string, std::string>;

// How a command line ended: its exit status (-1 when a signal ended it) and the last line it wrote to
// its error output.
struct CommandEnd {
    int status = 0;
    std::string lastError;
};

// The message, dialog, event-loop and process operations the program relies on. The windows
// themselves are models (see model/Window.h); this is everything else the desktop gives them.
class WindowServices {
public:
    virtual ~WindowServices() = default;

    // Shows a message box and waits for the user (handling events meanwhile): 1 OK, 6 Yes, 7 No.
    virtual int MessageBox(const std::string& text, int style, const std::string& title) = 0;
    // Handles every pending event (repaints, ticks, clicks, keys) before it returns; never waits for one.
    virtual void Yield() = 0;
    // False when a yield now would surely draw nothing: a text built only to be shown may then wait.
    virtual bool RepaintDue() { return true; }
    // Sounds the desktop's bell; never waits and never fails.
    virtual void Beep() = 0;
    // Runs a command line to its end, handling events meanwhile (the command may wait for the user, as a
    // request for a password does); a failure when it could not be started.
    virtual Result<CommandEnd> RunCommandLine(const std::string& commandLine) = 0;
    // Opens a document, folder or web address with the handler the desktop associates with it; never
    // waits for it, and its outcome is not reported.
    virtual void ShellOpen(const std::string& target) = 0;
    // Ends the program at once with `status` as its exit status: no unload handler runs and nothing is saved.
    [[noreturn]] virtual void EndProgram(int status = 0) = 0;
    // Seconds from an arbitrary start that never goes back.
    virtual double MonotonicSeconds() = 0;
    // The folder picker, waiting for the user: the chosen folder's path, or the empty text.
    // `flags` are the picker's options.
    virtual std::string PickFolder(const std::string& title, unsigned flags) = 0;
    // The open-file dialog, waiting for the user: the full path of every file the user chose or named (typed
    // names may lie in several folders); none when cancelled.
    virtual std::vector<std::string> PickFiles(const std::string& title, const std::vector<FileFilter>& filters,
                                               const std::string& initialFolder, bool multiple) = 0;
};

}  // namespace scorvane

#pragma once

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Window.h"
#include "platform/WindowServices.h"

namespace scorvane::testing {

// Thrown where the program ends at once, so that a test can catch it.
struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

struct MessageRecord {
    std::string text;
    int style = 0;
    std::string title;
};

// Whether a picker lists `name` under a pattern of the program ("*.lng", "a;b"), as the desktop reads
// it: "*.*" is every file, dot-files and names without a dot included.
bool PatternLists(const std::string& pattern, const std::string& name);

// The window services and host of the tests: scripted answers and events, a fake monotonic clock, and
// records of everything the program showed or asked for. A Yes/No box or a picker with no scripted answer
// fails the test instead of blocking.
class FakeDesktop final : public WindowServices, public WindowHost {
public:
    int MessageBox(const std::string& text, int style, const std::string& title) override;
    void Yield() override;
    bool RepaintDue() override { return !repaintDue || repaintDue(); }
    void Beep() override { ++beeps; }
    Result<CommandEnd> RunCommandLine(const std::string& commandLine) override;
    void ShellOpen(const std::string& target) override { shellOpens.push_back(target); }
    [[noreturn]] void EndProgram(int status = 0) override;
    double MonotonicSeconds() override { return monotonic += clockStep; }
    std::string PickFolder(const std::string& title, unsigned flags) override;
    std::vector<std::string> PickFiles(const std::string& title, const std::vector<FileFilter>& filters,
                                       const std::string& initialFolder, bool multiple) override;

    void Shown(Window& window) override { events.push_back("show " + window.name()); }
    void Hidden(Window& window) override { events.push_back("hide " + window.name()); }
    void Unloaded(Window& window) override { events.push_back("unload " + window.name()); }
    void Refresh(Window& window) override { events.push_back("refresh " + window.name()); }
    void RunModal(Window& window) override;

    // Scripts.
    std::deque<int> answers;                                    // message-box answers, in order
    std::map<int, std::function<void()>> atYield;               // run at the yield with this number (from 1)
    std::function<void(int)> onEveryYield;                      // run at every yield with its number
    std::function<bool()> repaintDue;                           // whether a yield now may draw; unset: always
    std::map<std::string, std::function<void(Window&)>> modal;  // what the user does in a modal window
    std::deque<std::string> folderAnswers;
    std::deque<std::vector<std::string>> fileAnswers;
    std::vector<bool> commandStarts;  // whether each command line starts (the last answer repeats); empty: all do
    CommandEnd commandEnd;            // how every command line that starts ends
    double monotonic = 0;
    double clockStep = 0;  // seconds the monotonic clock moves on at each reading: work taking time

    // Records.
    std::vector<MessageRecord> messages;
    std::vector<std::string> events;
    std::vector<std::string> commandLines;
    std::vector<std::string> shellOpens;
    std::vector<unsigned> folderFlags;
    std::vector<std::string> pickerTitles;
    std::vector<std::vector<FileFilter>> fileFilters;
    int yields = 0;
    int beeps = 0;
    int ends = 0;
    int endStatus = -1;  // the exit status of the last end
};

}  // namespace scorvane::testing

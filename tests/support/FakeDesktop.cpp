#include "support/FakeDesktop.h"

#include <fnmatch.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace scorvane::testing {

int FakeDesktop::MessageBox(const std::string& text, int style, const std::string& title) {
    messages.push_back({text, style, title});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    if ((style & 0x0F) == MessageStyle::YesNo) {
        ADD_FAILURE() << "a Yes/No question with no scripted answer: " << text;
        return MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

void FakeDesktop::Yield() {
    const int number = ++yields;
    if (onEveryYield) onEveryYield(number);
    if (const auto found = atYield.find(number); found != atYield.end()) {
        auto event = found->second;
        atYield.erase(found);
        event();
    }
}

Result<CommandEnd> FakeDesktop::RunCommandLine(const std::string& commandLine) {
    commandLines.push_back(commandLine);
    if (!commandStarts.empty() && !commandStarts[std::min(commandLines.size(), commandStarts.size()) - 1]) {
        Failure failure = MakeFailure(FailureNumber::FileNotFound);
        failure.description += ": " + commandLine.substr(0, commandLine.find(' '));
        return failure;
    }
    return commandEnd;
}

void FakeDesktop::EndProgram(int status) {
    ++ends;
    endStatus = status;
    throw ProgramEnded();
}

std::string FakeDesktop::PickFolder(const std::string& title, unsigned flags) {
    pickerTitles.push_back(title);
    folderFlags.push_back(flags);
    if (folderAnswers.empty()) {
        ADD_FAILURE() << "a folder picker with no scripted answer";
        return {};
    }
    std::string answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

bool PatternLists(const std::string& pattern, const std::string& name) {
    std::size_t start = 0;
    while (start <= pattern.size()) {
        const auto end = std::min(pattern.find(';', start), pattern.size());
        const std::string glob = pattern.substr(start, end - start);
        if (glob == "*.*" || ::fnmatch(glob.c_str(), name.c_str(), 0) == 0) return true;
        start = end + 1;
    }
    return false;
}

std::vector<std::string> FakeDesktop::PickFiles(const std::string& title, const std::vector<FileFilter>& filters,
                                                const std::string& /*initialFolder*/, bool /*multiple*/) {
    pickerTitles.push_back(title);
    fileFilters.push_back(filters);
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "a file dialog with no scripted answer";
        return {};
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    // A scripted choice must be one the picker could list under one of its patterns.
    for (const std::string& path : answer) {
        const std::string name = path.substr(path.rfind('/') + 1);
        const auto lists = [&name](const FileFilter& filter) { return PatternLists(filter.second, name); };
        if (!filters.empty() && std::none_of(filters.begin(), filters.end(), lists))
            ADD_FAILURE() << "the picker lists no " << name;
    }
    return answer;
}

void FakeDesktop::RunModal(Window& window) {
    events.push_back("modal " + window.name());
    const auto found = modal.find(window.name());
    if (found == modal.end()) {
        ADD_FAILURE() << "a modal window with no scripted user: " << window.name();
        window.Unload();
        return;
    }
    found->second(window);
    if (window.IsLoaded()) {
        ADD_FAILURE() << "the modal window " << window.name() << " was left loaded";
        window.Unload();
    }
}

}  // namespace scorvane::testing

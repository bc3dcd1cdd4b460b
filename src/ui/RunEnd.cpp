#include "ui/RunEnd.h"

#include <cstdlib>

#include "model/Program.h"
#include "platform/Text.h"
#include "startup/PathHelpers.h"

namespace scorvane {

namespace {
// Paths named in the closing message; the count says how many more there are.
constexpr std::size_t kNamedItems = 5;
}  // namespace

bool RefusedAsRoot(Program& program, const std::string& folder) {
    // "/", "//", "/tmp/.." and every other name of the root, however it is spelt.
    if (!IsFolder(program, folder) || !program.files().IsSystemRoot(folder)) return false;
    program.windows().MessageBox(program.Lang[Text::RootRefused], MessageStyle::Exclamation,
                                 program.Lang[Text::WarningTitle]);
    return true;
}

bool RefusedAsKernelFileSystem(Program& program, const std::string& path, const std::string& title) {
    const std::string kind = program.files().KernelFileSystem(path);
    if (kind.empty()) return false;
    program.windows().MessageBox(program.Lang[Text::KernelFileSystemRefused] + " (" + kind + ")\r" + path,
                                 MessageStyle::Exclamation, title);
    return true;
}

bool ShowWhatRemains(Program& program) {
    const auto& items = program.Remaining.items();
    if (items.empty()) return false;
    std::string text = program.Lang[Text::ItemsRemain] + " " + Decimal(static_cast<std::int64_t>(items.size())) + "\r";
    for (std::size_t i = 0; i < items.size() && i < kNamedItems; ++i) text += "\r" + items[i];
    if (items.size() > kNamedItems) text += "\r...";
    program.windows().MessageBox(text, MessageStyle::Exclamation, program.Lang[Text::WipingErrorTitle]);
    return true;
}

void EndCommandLineRun(Program& program) {
    const bool stopped = program.CancelFlag == 1;
    if (!stopped) ShowWhatRemains(program);
    program.windows().EndProgram(stopped || !program.Remaining.empty() ? 1 : 0);
    std::abort();  // not reached: EndProgram never returns, which the compiler cannot see through the interface
}

}  // namespace scorvane

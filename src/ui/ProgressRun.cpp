#include "ui/ProgressRun.h"

#include "model/Program.h"

namespace scorvane {

bool ConfirmRun(Program& program, int style, const std::string& title) {
    const std::string question = program.Lang[Text::AskOverwrite] + "\r\r" + program.Lang[Text::AskContinue];
    return program.windows().MessageBox(question, style, title) != MessageAnswer::No;
}

std::vector<std::string> SplitAtNul(std::string_view text) {
    std::vector<std::string> entries;
    if (text.empty()) return entries;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find('\0', start);
        entries.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return entries;
        start = end + 1;
    }
}

void OpenProgressWindow(Program& program) {
    Dialog& dialog = program.dialog();
    dialog.Label9.visible = true;
    dialog.Show();
    program.form1().Hide();
}

void CloseProgressWindow(Program& program) {
    if (!program.IsDialogLoaded()) return;
    program.dialogUnloaded().Label9.visible = false;
    program.dialogUnloaded().Unload();
}

}  // namespace scorvane

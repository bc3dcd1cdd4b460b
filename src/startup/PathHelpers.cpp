#include "startup/PathHelpers.h"

#include <vector>

#include "model/Program.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace scorvane {

namespace {
// The replacement character U+FFFD in UTF-8: what the desktop's pickers show for bytes that are not
// UTF-8. A picked path holding it may name a sibling whose name really holds the character, so it is
// refused rather than taken for the name the user saw.
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// True, after a message naming it, when a picked path cannot be the entry the picker listed.
bool RefusedPick(Program& program, const std::string& path) {
    if (path.find(kReplacementCharacter) == std::string::npos) return false;
    program.windows().MessageBox(program.Lang[Text::NameCannotBeShown] + "\r" + path, MessageStyle::Exclamation,
                                 program.Lang[Text::WipingErrorTitle]);
    return true;
}
}  // namespace

bool IsFolder(Program& program, const std::string& path) {
    std::string target = path;
    while (target.size() > 1 && target.back() == kSeparator) target.pop_back();
    const auto attributes = program.files().GetAttributes(target);
    return attributes && (attributes.value() & Attribute::Folder) != 0;
}

unsigned FolderPickerFlags(double mode) {
    if (mode == 1) return 0x1;
    if (mode == 2) return 0x2;
    if (mode == 3) return 0x4;
    if (mode == 4) return 0x8;
    if (mode == 5) return 0x1000;
    if (mode == 6) return 0x2000;
    return 0;
}

std::string BrowseForFolder(Program& program, const std::string& title, double mode) {
    std::string folder = program.windows().PickFolder(title, FolderPickerFlags(mode));
    if (RefusedPick(program, folder)) folder.clear();
    return folder;
}

namespace {
// "desc NUL pattern NUL desc NUL pattern NUL" as pairs.
std::vector<FileFilter> ParseFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < filter.size()) {
        const auto end = filter.find('\0', start);
        parts.push_back(filter.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    std::vector<FileFilter> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}
}  // namespace

std::string OpenFileDialog(Program& program, int mode, const std::string& title, const std::string& /*fileName*/,
                           const std::string& filter, const std::string& initialFolder,
                           const std::string& /*defaultExtension*/) {
    if (mode != 1) return {};
    const auto chosen = program.windows().PickFiles(title, ParseFilter(filter), initialFolder, true);
    if (chosen.empty()) return {};
    for (const auto& path : chosen) {
        if (RefusedPick(program, path)) return {};
    }

    std::string buffer;
    if (chosen.size() == 1) {
        buffer = chosen.front();
    } else {
        // The folder that holds every chosen file; a file in a folder below it keeps that part of its
        // path in its name, so that no name is ever looked up in another file's folder.
        std::string_view folder = chosen.front();
        folder = folder.substr(0, folder.rfind(kSeparator) + 1);
        for (const auto& path : chosen) {
            while (std::string_view(path).substr(0, folder.size()) != folder) {
                folder.remove_suffix(1);
                folder = folder.substr(0, folder.rfind(kSeparator) + 1);
            }
        }
        buffer = folder.size() > 1 ? std::string(folder.substr(0, folder.size() - 1)) : std::string(folder);
        for (const auto& path : chosen) {
            buffer.push_back('\0');
            buffer.append(std::string_view(path).substr(folder.size()));
        }
        buffer.push_back('\0');
    }
    buffer.resize(std::max(kFileBufferLength, buffer.size() + 1), '\0');
    return buffer;
}

}  // namespace scorvane

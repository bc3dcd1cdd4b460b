#include "ui/HelpMenu.h"

#include <array>
#include <utility>

#include "model/Program.h"

namespace scorvane {

namespace {

constexpr std::string_view kSharedHelpPage = "Files/Help/Help_It.html";

void OpenPage(Program& program, std::string_view path) {
    program.windows().ShellOpen(std::string(kMakerSite) + std::string(path));
}

bool IsMissing(Program& program, const std::string& path) {
    const EntryKind kind = program.files().KindOf(path);
    return kind == EntryKind::Missing || kind == EntryKind::Folder;
}

}  // namespace

std::string HelpPageFor(const std::string& langFile) {
    // Matched exactly, whole name and case; "Portugu\xC3\xAAs.lng" is "Português.lng" in UTF-8.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kPages{{
        {"Russian.lng", "Files/Help/Help_Ru.html"},
        {"Spanish.lng", "Files/Help/Help_Es.html"},
        {"Portugu\xC3\xAAs.lng", "Files/Help/Help_Pt.html"},
        {"German.lng", "Files/Help/Help_Ger.html"},
    }};
    for (const auto& [name, page] : kPages) {
        if (langFile == name) return std::string(page);
    }
    return std::string(kSharedHelpPage);
}

void mnuGuida_Click(Program& program) {
    std::string page = program.InProgramFolder(HelpPageFor(program.LangFile));
    // A missing page of one language falls back to the shared page rather than handing the desktop a
    // file that is not there; with no shared page either, the desktop shows what it shows.
    const std::string shared = program.InProgramFolder(kSharedHelpPage);
    if (IsMissing(program, page) && !IsMissing(program, shared)) page = shared;
    program.windows().ShellOpen(page);
}

void mnuVersioni_Click(Program& program) { program.windows().ShellOpen(program.InProgramFolder("Versioni.txt")); }

void mnuAggiornamenti_Click(Program& program) { OpenPage(program, "/scorvane.html"); }

void mnuAggLingua_Click(Program& program) { OpenPage(program, "/scorvane-languages.html"); }

void mnuFaiDonazione_Click(Program& program) { OpenPage(program, "/donazioni--donation.html"); }

}  // namespace scorvane

#pragma once

#include <string>
#include <string_view>

namespace scorvane {

class Program;

// The maker's web site: the three web-page entries add their paths to it, and the about box shows
// and opens it as the home page.
inline constexpr std::string_view kMakerSite = "https://scorvane.example.org";

// The help page for a language file, relative to the program folder ("Files/Help/Help_Ger.html");
// every language without a page of its own gets "Files/Help/Help_It.html".
std::string HelpPageFor(const std::string& langFile);

// Each entry hands a document or page to the desktop, which opens it with its default program; the
// outcome is not looked at and nothing is reported.
void mnuGuida_Click(Program& program);          // the help page for LangFile
void mnuVersioni_Click(Program& program);       // the version history, Versioni.txt
void mnuAggiornamenti_Click(Program& program);  // the updates page
void mnuAggLingua_Click(Program& program);      // the more-languages page
void mnuFaiDonazione_Click(Program& program);   // the donation page

}  // namespace scorvane

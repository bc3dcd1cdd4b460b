#pragma once

#include <cstdint>

namespace scorvane {

class Program;

// The about box's own member, kept by its wiring for the whole run and reset at every load.
struct AboutBoxState {
    // Ticks on which the bottom edge of Picture2 was level with or above the bottom edge of Picture1.
    std::int16_t ScrollPause = 0;
};

inline constexpr int kScrollStartTop = 2200;  // twips: the panel's top edge near the bottom of Picture1
inline constexpr int kScrollStep = 10;        // twips a tick
inline constexpr int kScrollRestTicks = 120;  // ticks the panel rests once fully in view
inline constexpr int kScrollInterval = 10;    // milliseconds

// Hides the main window and opens the about box with its title, version, description and credits.
void mnuInfo_Click(Program& program);

// frmAbout's handlers.
void frmAbout_Form_Load(Program& program, AboutBoxState& state);
// Stops the scroll and shows the main window again, however the box was closed.
void frmAbout_Form_Unload(Program& program);
// A click on the window surface, imgTitle, lblTitle, lblVersion, lblDescription or lblCopyright.
void frmAbout_Form_Click(Program& program);
// Opens the maker's home page; the box stays open.
void lblHomePage_Click(Program& program);
// Esc (27) closes the box; any other key does nothing.
void Picture1_KeyDown(Program& program, int keyCode);
// One step of the endless upward scroll of the credits panel.
void frmAbout_Timer1_Timer(Program& program, AboutBoxState& state);

}  // namespace scorvane

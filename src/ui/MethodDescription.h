#pragma once

namespace scorvane {

class Program;
struct Label;

// Shows the description of method `position` in `description` (10 pt for the 35-pass method, 15 pt for
// the others) and makes `shadow` its copy, same size and text, 10 twips right of and below it.
void ShowMethodDescription(Program& program, Label& description, Label& shadow, int position);

}  // namespace scorvane

#include "ui/MethodDescription.h"

#include "engine/PassPlans.h"
#include "model/Program.h"

namespace scorvane {

void ShowMethodDescription(Program& program, Label& description, Label& shadow, int position) {
    constexpr Twips kShadowOffset = 10;
    description.font.size = MethodOf(position).descriptionFontSize;
    description.caption = program.MethodDesc[static_cast<std::size_t>(position)];
    shadow.width = description.width;
    shadow.height = description.height;
    shadow.top = description.top + kShadowOffset;
    shadow.left = description.left + kShadowOffset;
    shadow.font.size = description.font.size;
    shadow.caption = description.caption;
}

}  // namespace scorvane

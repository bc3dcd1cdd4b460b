#include "ui/MainWindowLoad.h"

#include "model/Program.h"
#include "platform/Text.h"
#include "ui/CommandLineJob.h"
#include "ui/DriveList.h"

namespace scorvane {

std::string TitleWithVersion(const Program& program) {
    const ProcessFacts& facts = program.facts();
    return facts.title + " " + Decimal(facts.major) + "." + Decimal(facts.minor) + ".0." + Decimal(facts.revision);
}

void Form1_Load(Program& program) {
    Form1& form = program.form1();
    form.caption = TitleWithVersion(program);
    Drive1_Change(program);
    form.Command1.foreColor = Palette::LightGrey;
    RunCommandLineJob(program);
}

}  // namespace scorvane

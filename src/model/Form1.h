#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Controls.h"
#include "model/FixedPoint.h"
#include "model/Window.h"

namespace scorvane {

// The main window as built: the method list with its description, the drive list, the shut-down
// option, the two label buttons and the push button, the menu bar, and the members that the engine
// and the commands share.
class Form1 final : public Window {
public:
    static constexpr Twips kClientWidth = 10815;
    static constexpr Twips kClientHeight = 5445;

    Form1();

    // Controls, in stored order.
    ListBox List2;
    CheckBox Check1;
    CommandButton Command2;
    ComboBox Combo1;
    Timer Timer1;
    DriveListBox Drive1;
    Label Label1;  // its tag carries the stored method index
    Label Command3;
    Label Command1;
    Label Label4;
    Label Label9;
    Label Label3;
    Label Label2;

    // Menus, in order.
    MenuItem mnuFile, mnuEsci;
    MenuItem mnuDistruggi, mnuDistruggiFile, mnuDistruggiCartella, mnuDistruggiSpazioLibero;
    MenuItem mnuOpzioni, mnuLingua, mnuAggLingua;
    MenuItem mnuDonazioni, mnuFaiDonazione;
    MenuItem mnuHelp, mnuGuida, r2, mnuVersioni, mnuAggiornamenti, r3, mnuInfo;
    std::vector<MenuItem*> Menus();
    std::vector<Control*> Controls();

    // Shared members.
    std::int16_t ElapsedHours = 0, ElapsedMinutes = 0, ElapsedSeconds = 0;
    std::int64_t ElapsedTicks = 0;
    double StatisticsStart = -1;  // the monotonic clock when the free-space fill began; below 0 before
    std::int64_t WrittenKb = 0;
    std::int64_t FileKb = 0;
    std::int64_t FileLength = 0;
    // The progress bar's total: the number of items of a run, or for the free-space wipe the drive's free
    // bytes / 10,000,000 (Drive1_Change), whose count of ten-thousandths is then the free space in kilobytes
    // (1,000 bytes): what FreeKb() and the time-left estimate read.
    FixedPoint4 ProgressTotal;
    bool StartedWithFolder = false;
    std::string FolderToWipe;
    std::string ItemFolder;

    std::string& StoredMethodIndex() { return Label1.tag; }

protected:
    void Build() override;
};

}  // namespace scorvane

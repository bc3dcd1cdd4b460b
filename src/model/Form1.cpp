#include "model/Form1.h"

namespace scorvane {

Form1::Form1() : Window("Form1") { Build(); }

void Form1::Build() {
    caption.clear();
    width = kClientWidth;
    height = kClientHeight;
    visible = false;
    mousePointer = MousePointer::Default;
    backColor = Palette::White;

    List2.Build("List2", 240, 4650, 975, 255);
    List2.visible = false;
    List2.items.clear();

    Check1.Build("Check1", 6840, 4500, 195, 195);
    Check1.mousePointer = MousePointer::Hand;
    Check1.value = 0;

    Command2.Build("Command2", 6840, 3660, 3335, 715);
    Command2.font = Arial(9.75, true);
    Command2.backColor = 0x00CE6126;
    Command2.mousePointer = MousePointer::Hand;
    Command2.caption = "Distruggi Spazio Libero";

    Combo1.Build("Combo1", 480, 580, 5475, 345);
    Combo1.font = Arial(9, true);
    Combo1.backColor = 0x008080FF;
    Combo1.foreColor = 0x00000080;
    Combo1.mousePointer = MousePointer::Hand;
    Combo1.acceptsDrops = true;
    Combo1.Clear();

    Timer1 = Timer{"Timer1", 0, Timer1.onTimer};

    Drive1.Build("Drive1", 6840, 3240, 1335, 315);
    Drive1.backColor = Palette::White;
    Drive1.mousePointer = MousePointer::Hand;
    Drive1.items.clear();
    Drive1.listIndex = -1;

    Label1.Build("Label1", 510, 320, 2115, 240);
    Label1.font = Arial(9.75);
    Label1.foreColor = Palette::White;
    Label1.autoSize = true;
    Label1.acceptsDrops = true;
    Label1.caption = "Metodo di cancellazione";

    Command3.Build("Command3", 6600, 1560, 3765, 465);
    Command3.font = Arial(15.75, true);
    Command3.foreColor = Palette::LightGrey;
    Command3.alignment = Alignment::Center;
    Command3.mousePointer = MousePointer::Hand;
    Command3.caption = "Command3";

    Command1.Build("Command1", 6630, 480, 3765, 465);
    Command1.font = Arial(15.75, true);
    Command1.foreColor = Palette::LightGrey;
    Command1.alignment = Alignment::Center;
    Command1.mousePointer = MousePointer::Hand;
    Command1.caption = "Command1";

    Label4.Build("Label4", 7140, 4485, 3015, 465);
    Label4.font = Arial(9, true);
    Label4.foreColor = Palette::White;
    Label4.mousePointer = MousePointer::Hand;
    Label4.acceptsDrops = true;
    Label4.caption = "Al termine arresta il sistema";

    Label9.Build("Label9", 480, 1560, 5475, 2580);
    Label9.font = Arial(15, true, true);
    Label9.foreColor = Palette::White;
    Label9.alignment = Alignment::Center;
    Label9.acceptsDrops = true;
    Label9.caption = "Metodo di cancellazione";

    Label3.Build("Label3", 5070, 3900, 855, 165);
    Label3.font = Arial(8.25, true, true);
    Label3.foreColor = 0x00000040;
    Label3.alignment = Alignment::Center;
    Label3.caption = "Label3";

    Label2.Build("Label2", 330, 5100, 570, 225);
    Label2.font = Arial(9, true, true);
    Label2.foreColor = Palette::White;
    Label2.visible = false;
    Label2.autoSize = true;
    Label2.acceptsDrops = true;
    Label2.caption = "Label2";

    mnuFile.Build("mnuFile", "", "&File");
    mnuEsci.Build("mnuEsci", "mnuFile", "&Esci");
    mnuDistruggi.Build("mnuDistruggi", "", "&Distruggi");
    mnuDistruggiFile.Build("mnuDistruggiFile", "mnuDistruggi", "&File(s)...");
    mnuDistruggiCartella.Build("mnuDistruggiCartella", "mnuDistruggi", "&Cartella...");
    mnuDistruggiSpazioLibero.Build("mnuDistruggiSpazioLibero", "mnuDistruggi", "&Spazio libero");
    mnuOpzioni.Build("mnuOpzioni", "", "&Opzioni");
    mnuLingua.Build("mnuLingua", "mnuOpzioni", "Lingua");
    mnuAggLingua.Build("mnuAggLingua", "mnuOpzioni", "&Aggiungi lingua...");
    mnuDonazioni.Build("mnuDonazioni", "", "&Donazioni");
    mnuFaiDonazione.Build("mnuFaiDonazione", "mnuDonazioni", "&Fai una donazione...");
    mnuHelp.Build("mnuHelp", "", "&?");
    mnuGuida.Build("mnuGuida", "mnuHelp", "&Guida...", "F1");
    r2.Build("r2", "mnuHelp", "-");
    mnuVersioni.Build("mnuVersioni", "mnuHelp", "Versioni");
    mnuAggiornamenti.Build("mnuAggiornamenti", "mnuHelp", "Controlla &Aggiornamenti...");
    r3.Build("r3", "mnuHelp", "-");
    mnuInfo.Build("mnuInfo", "mnuHelp", "&Informazioni", "Ctrl+F1");

    ElapsedHours = ElapsedMinutes = ElapsedSeconds = 0;
    ElapsedTicks = WrittenKb = FileKb = FileLength = 0;
    StatisticsStart = -1;
    ProgressTotal = {};
    StartedWithFolder = false;
    FolderToWipe.clear();
    ItemFolder.clear();
}

std::vector<MenuItem*> Form1::Menus() {
    return {&mnuFile,
            &mnuEsci,
            &mnuDistruggi,
            &mnuDistruggiFile,
            &mnuDistruggiCartella,
            &mnuDistruggiSpazioLibero,
            &mnuOpzioni,
            &mnuLingua,
            &mnuAggLingua,
            &mnuDonazioni,
            &mnuFaiDonazione,
            &mnuHelp,
            &mnuGuida,
            &r2,
            &mnuVersioni,
            &mnuAggiornamenti,
            &r3,
            &mnuInfo};
}

std::vector<Control*> Form1::Controls() {
    return {&List2,    &Check1,   &Command2, &Combo1, &Drive1, &Label1,
            &Command3, &Command1, &Label4,   &Label9, &Label3, &Label2};
}

}  // namespace scorvane

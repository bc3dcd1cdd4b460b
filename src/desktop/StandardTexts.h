#pragma once

class QCoreApplication;

namespace scorvane {

// Qt's own texts (Yes, No, OK, Cancel, the file pickers) in the system's language, as the standard
// buttons of a desktop follow it; without a translation for that language they stay in English.
void LoadStandardTexts(QCoreApplication& application);

}  // namespace scorvane

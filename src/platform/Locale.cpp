#include "platform/Locale.h"

#include <QLocale>
#include <QString>
#include <cstdlib>

namespace scorvane {

std::string LocaleCountryName() {
    std::string name;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    // "it_IT.UTF-8@euro" -> "it_IT"
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return {};
    const QLocale locale(QString::fromStdString(name));
    if (locale.territory() == QLocale::AnyTerritory || locale.language() == QLocale::C) return {};
    return QLocale::territoryToString(locale.territory()).toStdString();
}

}  // namespace scorvane

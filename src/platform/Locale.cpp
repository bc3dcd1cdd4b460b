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
    // The territory the name itself gives ("de_DK" is Denmark), not the one of the nearest locale data.
    const QString qName = QString::fromStdString(name);
    const auto underscore = qName.indexOf(QLatin1Char('_'));
    QLocale::Territory territory =
        underscore < 0 ? QLocale(qName).territory() : QLocale::codeToTerritory(QStringView(qName).mid(underscore + 1));
    if (territory == QLocale::AnyTerritory) return {};
    // The desktop's usual English name of Korea, which the language table looks for.
    if (territory == QLocale::SouthKorea) return "Korea";
    return QLocale::territoryToString(territory).toStdString();
}

}  // namespace scorvane

// Build-time tool: writes the window icon into an icon theme folder, FOLDER/NxN/apps/scorvane.png for
// each size the theme asks for, so that the installed menus show the picture the program draws.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

#include "desktop/Artwork.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const int size : {16, 32, 48, 256}) {
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = apps + QStringLiteral("/scorvane.png");
        if (!QDir().mkpath(apps) || !scorvane::IconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

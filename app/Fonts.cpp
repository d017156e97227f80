#include "Fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    const auto substitute = [](const char* family, const char* first, const char* second) {
        QFont::insertSubstitutions(
            QString::fromLatin1(family),
            QStringList{QString::fromLatin1(first), QString::fromLatin1(second)});
    };
    substitute("MS Sans Serif", "Liberation Sans", "DejaVu Sans");
    substitute("Arial Black", "DejaVu Sans", "Liberation Sans");
    substitute("Sylfaen", "Liberation Serif", "DejaVu Serif");
    substitute("Tahoma", "DejaVu Sans", "Liberation Sans");
}

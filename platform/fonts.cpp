#include "platform/fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace rpn {

void InstallFontSubstitutions()
{
    const QString dejaVu = QStringLiteral("DejaVu Sans");
    for (const QString& face : {QStringLiteral("Tohoma"), QStringLiteral("System")})
        if (!QFont::substitutes(face).contains(dejaVu))
            QFont::insertSubstitution(face, dejaVu);
}

}  // namespace rpn

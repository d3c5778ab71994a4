#include "platform/qt/fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <utility>

namespace rpn {

void InstallFontSubstitutions()
{
    // The main line's digits sit in 17-pixel cells with the point drawn 11
    // pixels in; DejaVu Sans's digits are so wide that their boxes would
    // hide the point and the separators, its condensed face's are not.
    const std::pair<QString, QString> substitutions[] = {
        {QStringLiteral("Tohoma"), QStringLiteral("DejaVu Sans Condensed")},
        {QStringLiteral("System"), QStringLiteral("DejaVu Sans")},
    };
    for (const auto& [face, substitute] : substitutions)
        if (!QFont::substitutes(face).contains(substitute))
            QFont::insertSubstitution(face, substitute);
}

int SubstituteWeight(std::wstring_view faceName, int weight)
{
    return faceName == L"System" ? int{QFont::Normal} : weight;
}

}  // namespace rpn

#include "platform/qt/fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
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

int PixelSizeForCell(int cellHeight)
{
    // Both DejaVu faces have an ascent of 1901 and a descent of 483 in an em
    // of 2048 units. The two roundings put the cell at most a pixel off the
    // unrounded sum, so the first guess is at most one size too large.
    constexpr double kAscent = 1901.0 / 2048;
    constexpr double kDescent = 483.0 / 2048;
    const auto cell = [](int size) { return std::lround(kAscent * size) + std::lround(kDescent * size); };
    int size = static_cast<int>((cellHeight + 1) / (kAscent + kDescent));
    if (cell(size) > cellHeight)
        --size;
    return std::max(size, 1);
}

}  // namespace rpn

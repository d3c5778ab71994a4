#pragma once

#include <string>

namespace rpn {

// A font as the display asks for it: the character-cell height in face
// pixels, the weight on the 100..900 scale and the face name. Everything
// else is the platform's default.
struct FontDescription {
    int height = 0;
    int weight = 400;
    std::wstring faceName;
};

}  // namespace rpn

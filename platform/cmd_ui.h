#pragma once

#include <string>

namespace rpn {

// One menu item as its update handler sees it. Update handlers run just
// before the item's menu opens; they own nothing and keep no reference to
// the item after they return.
class CmdUI {
public:
    virtual ~CmdUI() = default;
    virtual void SetText(const std::wstring& text) = 0;
    virtual void Enable(bool enabled) = 0;
    // 0 unchecked, 1 checked.
    virtual void SetCheck(int check) = 0;
};

}  // namespace rpn

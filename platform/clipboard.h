#pragma once

#include <string>
#include <string_view>

namespace rpn {

// The system clipboard as the Edit commands use it: one wide text. Each
// command opens it, does its work and closes it before returning; every
// successful Open is matched by exactly one Close. The caller owns the object.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // False when another program holds the clipboard; the command then skips
    // the clipboard without a message.
    virtual bool Open() = 0;
    virtual void Close() = 0;

    // Only between Open and Close. PutText replaces whatever the clipboard
    // held; HasText tells whether text can be had; GetText yields it in
    // UTF-16 (the empty text when it cannot be obtained), valid until Close,
    // so that a caller who needs only its beginning copies no more.
    virtual void PutText(std::wstring_view text) = 0;
    virtual bool HasText() = 0;
    virtual std::u16string_view GetText() = 0;
};

}  // namespace rpn

#pragma once

#include <string>
#include <string_view>

namespace rpn {

// The program's one coder of wide texts into UTF-8 (file names, the texts
// rpn-cli prints) and UTF-16 (state files, the clipboard). Wide texts hold
// code points (those above U+FFFF included).

// UTF-8 of a text; a value that is no code point (a lone surrogate, anything
// past U+10FFFF) comes out as U+FFFD.
std::string Utf8(std::wstring_view text);
// UTF-16 of a text, with the same replacement.
std::u16string Utf16(std::wstring_view text);

// A file name given as bytes (a command-line argument) as the wide path the
// file layer takes. UTF-8 is decoded; a byte that is no part of UTF-8 is kept
// as U+DC80 plus the byte, which NarrowPath turns back into that byte, so
// every name reaches the same file.
std::wstring WidePath(std::string_view bytes);
std::string NarrowPath(std::wstring_view path);

}  // namespace rpn

#pragma once

#include <string>
#include <string_view>

namespace rpn {

// The program's one UTF-8 coder, for file names and for the texts rpn-cli
// prints. Wide texts hold code points (those above U+FFFF included).

// UTF-8 of a text; a value that is no code point (a lone surrogate, anything
// past U+10FFFF) comes out as U+FFFD.
std::string Utf8(std::wstring_view text);

// A file name given as bytes (a command-line argument) as the wide path the
// file layer takes. UTF-8 is decoded; a byte that is no part of UTF-8 is kept
// as U+DC80 plus the byte, which NarrowPath turns back into that byte, so
// every name reaches the same file.
std::wstring WidePath(std::string_view bytes);
std::string NarrowPath(std::wstring_view path);

}  // namespace rpn

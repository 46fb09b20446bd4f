#pragma once

#include <string>
#include <string_view>

namespace lumora::win32 {

// UTF-16 for Windows from the program's text, and from UTF-8 for reports.
std::wstring wideText(std::u32string_view text);
std::wstring wideFromUtf8(std::string_view text);

} // namespace lumora::win32

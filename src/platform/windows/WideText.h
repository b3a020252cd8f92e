// The boundary between Ravelin's UTF-8 names and the wide-character Windows API (inside
// src/platform only).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileSys.h"

namespace ravelin::win {

/// UTF-16 for the UTF-8 text; bytes that are no UTF-8 become U+FFFD.
std::wstring Widen(std::string_view text);
/// UTF-8 for the UTF-16 text; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view text);

/// UTF-8 for text in the given code page; text in code page 0 (the C library's "C" locale)
/// or CP_UTF8, or text of ASCII alone, as it is.
std::string CodePageTextAsUtf8(unsigned codePage, std::string_view text);

/// The name the wide API is given for path: "/" turned into "\", and an absolute name
/// ("C:\...", "\\server\share\...") prefixed "\\?\" (or "\\?\UNC\") so that names longer
/// than MAX_PATH work; a relative name is left relative.
std::wstring SystemPath(std::string_view path);

/// The identity, kind (File or Folder) and size of what the system path leads to, links
/// followed; false (GetLastError() telling why) when it cannot be opened.
bool DescribeFile(const std::wstring& path, FileId& id, EntryKind& kind, std::uint64_t& size);

/// The system's text for a Windows error code, without its line end.
std::string WindowsMessage(std::uint32_t code);

}  // namespace ravelin::win

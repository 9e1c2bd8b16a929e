#pragma once

// Windows only. The program speaks UTF-8; Windows' W API speaks UTF-16.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace rotulos::plataforma {

inline std::wstring Largo(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring texto(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), texto.data(), n);
    return texto;
}

inline std::string Utf8(std::wstring_view texto) {
    if (texto.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texto.data(), static_cast<int>(texto.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

}  // namespace rotulos::plataforma

#pragma once

// The form speaks UTF-8 (decoded from the tables' code page); the window's
// controls speak UTF-16.

#include "platform/Utf16.h"

using rotulos::plataforma::Largo;
using rotulos::plataforma::Utf8;

inline std::wstring TextoDaJanela(HWND janela) {
    std::wstring texto(static_cast<std::size_t>(GetWindowTextLengthW(janela)) + 1, L'\0');
    texto.resize(static_cast<std::size_t>(GetWindowTextW(janela, texto.data(), static_cast<int>(texto.size()))));
    return texto;
}

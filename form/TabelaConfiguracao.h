#pragma once

// The printer settings table: one row, kept open for editing while the window
// is shown, every save on disk at once, the port following the label size.

#include <functional>
#include <string>

#include "TTable.h"

namespace rotulos::configuracao {

inline constexpr const char* kCaminho = "C:\\TARVEL\\ConfImpr.db";

struct Semente {
    const char* coluna;
    const char* valor;
};

// The starting values of a table without rows, in the order they are set.
inline constexpr Semente kSemente[] = {
    {"Temperatura", "13"}, {"Velocidade", "E"}, {"Borda", "220"}, {"Retorno", "220"}, {"Porta", "LPT1"},
};

inline constexpr const char* kPortaPequeno = "LPT1";
inline constexpr const char* kPortaGrande = "LPT3";

// When the window is shown: open, seed an empty table (the post writes it to
// disk through AfterPost), then put the first row in state edit. A table the
// window cannot use (a column missing, a code page it cannot show) is closed
// again and reported.
void PassoMostrar(TTable& tbConf);

// After every post: the row on disk at once. `salvar` is the engine's flush,
// DbiSaveChanges; a failure is reported, not hidden.
void PassoDepoisDoPost(TTable& tbConf, const std::function<void(hDBICur)>& salvar = DbiSaveChanges);

// When the size selection changes: 0 ("Pequeno") sets LPT1, anything else LPT3.
void PassoTamanho(TTable& tbConf, int itemIndex);

// When the window closes: post what was typed and close. A table that never
// opened has nothing to save and must not keep the window from closing.
// When the save fails, `fecharSemSalvar` is asked, with why: true closes the
// table without the changes; false leaves the row in edit, as it was, and
// PassoFechar returns false.
bool PassoFechar(TTable& tbConf, const std::function<bool(const std::string& porque)>& fecharSemSalvar);

}  // namespace rotulos::configuracao

// Qt's own texts (the buttons of message boxes, the file, print and colour dialogs) in the
// interface language, from the translations Qt ships.
#pragma once

#include <cstdint>

namespace tq::ui {

// Installs Qt's translation for `language` (Simplified or Traditional Chinese) into the running
// application, replacing the one installed before; English removes it. Returns whether a
// translation is installed afterwards.
bool InstallQtTexts(int16_t language);

}  // namespace tq::ui

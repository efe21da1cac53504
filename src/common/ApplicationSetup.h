#pragma once

// Gives the running application its name, version, icon and desktop entry, and loads Qt's own
// Brazilian Portuguese translation so that the buttons and menus Qt draws itself ("Sim",
// "Não", "Copiar", "Colar") match the rest of the interface. Call once, right after the
// QApplication is created.
void SetUpApplication();

#pragma once

// Gives the running application its name, version and desktop entry, and loads Qt's own
// Brazilian Portuguese translation so that the buttons and menus Qt draws itself ("Sim",
// "Não", "Copiar", "Colar") match the rest of the interface. Call once, right after the
// QApplication is created.
void SetUpApplication();

// Loads Qt's own Brazilian Portuguese texts into the running application (SetUpApplication
// does it for Quessar; the desktop roller, which has its own name and follows the desktop's
// palette, calls it alone).
void InstallQtTranslation();

// Gives every window of the application its icon, the 256-pixel die. Costs a few
// milliseconds, so the splash calls it once it has painted rather than before.
void SetApplicationIcon();

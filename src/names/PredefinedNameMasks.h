#pragma once

#include <QStringList>

// The fifteen masks that the name window offers ready-made and that `quessar-cli nomes
// --predefinidas` lists, in the order the window adds them.
QStringList PredefinedNameMasks();

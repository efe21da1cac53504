#pragma once

#include <QString>

class QComboBox;
class QListWidget;

// Lists that keep their entries in ascending order of UTF-16 code units: each new entry goes
// in after every entry that is less than or equal to it. Return the new entry's row.
int InsertSorted(QComboBox *list, const QString &text);
int InsertSorted(QListWidget *list, const QString &text);

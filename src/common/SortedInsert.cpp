#include "common/SortedInsert.h"

#include <QComboBox>
#include <QListWidget>

namespace {

// First row whose text sorts after `text` (binary search; the list is sorted).
template <typename TextAt> int upperBound(int count, const QString &text, TextAt textAt)
{
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (QString::compare(textAt(middle), text, Qt::CaseSensitive) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

} // namespace

int InsertSorted(QComboBox *list, const QString &text)
{
    const int row = upperBound(list->count(), text, [list](int i) { return list->itemText(i); });
    list->insertItem(row, text);
    return row;
}

int InsertSorted(QListWidget *list, const QString &text)
{
    const int row =
        upperBound(list->count(), text, [list](int i) { return list->item(i)->text(); });
    list->insertItem(row, text);
    return row;
}

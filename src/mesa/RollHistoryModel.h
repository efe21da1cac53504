#pragma once

#include "mesa/RollEntry.h"

#include <QAbstractListModel>

#include <vector>

// The rolls of the session, newest first, for a QListView: one row per roll, each of the same
// height, so that a view of 100,000 rolls lays out and scrolls at once. Clearing empties the
// view, not the record, and can be undone.
class RollHistoryModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    // DisplayRole: the roll as text ("10:15:02  4d6kh3: [6, 5, 3, ~2~] = 14  (menos 41,67 % ·
    // igual 11,57 % · mais 46,76 %)  # label"; the luck once known).
    QVariant data(const QModelIndex &index, int role) const override;

    void append(RollEntry entry);
    const RollEntry &entry(int row) const;
    static QString text(const RollEntry &entry);
    // Gives the roll numbered `seq` its luck, whether shown or cleared from the view; false
    // when there is no such roll.
    bool setLuck(qint64 seq, const RollLuck &luck);

    // Empties the view; undoClear() brings those rolls back, below any rolled since.
    void clearView();
    bool canUndoClear() const { return !m_cleared.empty(); }
    void undoClear();

private:
    std::vector<RollEntry> m_entries; // oldest first
    std::vector<RollEntry> m_cleared;
};

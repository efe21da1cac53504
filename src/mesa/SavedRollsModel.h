#pragma once

#include "mesa/SavedRoll.h"

#include <QAbstractListModel>

// The tray of saved rolls for a QListView: "Nome: expressão" shown, the name edited in place
// (F2), rows added, moved and removed; changed() after every change, for saving.
class SavedRollsModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const QList<SavedRoll> &rolls() const { return m_rolls; }
    void setRolls(const QList<SavedRoll> &rolls);
    void add(const SavedRoll &roll);
    void remove(int row);
    // Moves a row one place up (-1) or down (+1); false at an end.
    bool move(int row, int step);

signals:
    void changed();

private:
    QList<SavedRoll> m_rolls;
};

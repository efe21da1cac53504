#include "mesa/SavedRollsModel.h"

int SavedRollsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rolls.size());
}

QVariant SavedRollsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rolls.size())
        return {};
    const SavedRoll &roll = m_rolls[index.row()];
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return roll.name + QStringLiteral(": ") + roll.expression;
    case Qt::EditRole:
        return roll.name;
    case Qt::ToolTipRole:
        return row < 9 ? roll.expression + QStringLiteral(" (Alt+") + QString::number(row + 1)
                             + u')'
                       : roll.expression;
    default:
        return {};
    }
}

bool SavedRollsModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const QString name = value.toString().simplified();
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_rolls.size() || name.isEmpty())
        return false;
    m_rolls[index.row()].name = name;
    emit dataChanged(index, index);
    emit changed();
    return true;
}

Qt::ItemFlags SavedRollsModel::flags(const QModelIndex &index) const
{
    return QAbstractListModel::flags(index) | (index.isValid() ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

void SavedRollsModel::setRolls(const QList<SavedRoll> &rolls)
{
    beginResetModel();
    m_rolls = rolls;
    endResetModel();
}

void SavedRollsModel::add(const SavedRoll &roll)
{
    beginInsertRows({}, int(m_rolls.size()), int(m_rolls.size()));
    m_rolls.append(roll);
    endInsertRows();
    emit changed();
}

void SavedRollsModel::remove(int row)
{
    if (row < 0 || row >= m_rolls.size())
        return;
    beginRemoveRows({}, row, row);
    m_rolls.removeAt(row);
    endRemoveRows();
    emit changed();
}

bool SavedRollsModel::move(int row, int step)
{
    const int to = row + step;
    if (row < 0 || row >= m_rolls.size() || to < 0 || to >= m_rolls.size())
        return false;
    // Qt's destination is the row the item goes before, counted before the move.
    beginMoveRows({}, row, row, {}, step > 0 ? to + 1 : to);
    m_rolls.move(row, to);
    endMoveRows();
    emit changed();
    return true;
}

#include "mesa/RollHistoryModel.h"

#include <QDateTime>

#include <algorithm>

int RollHistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant RollHistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return text(entry(index.row()));
    return {};
}

QString RollHistoryModel::text(const RollEntry &entry)
{
    QString line = QDateTime::fromMSecsSinceEpoch(entry.time).toString(QStringLiteral("HH:mm:ss"))
                   + QStringLiteral("  ") + QString::fromUtf8(entry.details);
    if (entry.luck.known)
        line += QStringLiteral("  (") + entry.luck.text() + u')';
    if (!entry.label.isEmpty())
        line += QStringLiteral("  # ") + entry.label;
    return line;
}

const RollEntry &RollHistoryModel::entry(int row) const
{
    return m_entries[m_entries.size() - 1 - std::size_t(row)];
}

void RollHistoryModel::append(RollEntry entry)
{
    beginInsertRows({}, 0, 0);
    m_entries.push_back(std::move(entry));
    endInsertRows();
}

void RollHistoryModel::clearView()
{
    if (m_entries.empty())
        return;
    beginResetModel();
    // A second clear before an undo keeps the older rolls too: all come back together.
    m_cleared.insert(m_cleared.end(), std::make_move_iterator(m_entries.begin()),
                     std::make_move_iterator(m_entries.end()));
    m_entries.clear();
    endResetModel();
}

void RollHistoryModel::undoClear()
{
    if (m_cleared.empty())
        return;
    beginResetModel();
    m_cleared.insert(m_cleared.end(), std::make_move_iterator(m_entries.begin()),
                     std::make_move_iterator(m_entries.end()));
    m_entries = std::move(m_cleared);
    m_cleared.clear();
    endResetModel();
}

bool RollHistoryModel::setLuck(qint64 seq, const RollLuck &luck)
{
    // Both lists run in the order rolled, so a roll is found by its number.
    const auto bySeq = [](const RollEntry &entry, qint64 n) { return entry.seq < n; };
    for (std::vector<RollEntry> *list : {&m_entries, &m_cleared}) {
        const auto it = std::lower_bound(list->begin(), list->end(), seq, bySeq);
        if (it == list->end() || it->seq != seq)
            continue;
        it->luck = luck;
        if (list == &m_entries) {
            const QModelIndex shown = index(int(m_entries.end() - it) - 1);
            emit dataChanged(shown, shown);
        }
        return true;
    }
    return false;
}

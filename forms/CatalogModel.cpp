#include "CatalogModel.h"

#include "ClientDataSet.h"

#include <QScopeGuard>

namespace
{

struct ColumnSpec {
    const char* field;
    const char* title;
};

constexpr ColumnSpec columns[] = {
    {"cod_web", "Codigo"},
    {"disciplina", "Disciplina"},
    {"descricao", "Descrição"},
    {"categoria", "Categoria"},
};

} // namespace

CatalogModel::CatalogModel(const catalog::ClientDataSet& dataSet, QObject* parent)
    : QAbstractTableModel(parent)
    , m_dataSet(dataSet)
{
    findColumns();
}

void CatalogModel::change(const std::function<void()>& apply)
{
    beginResetModel();
    const auto end = qScopeGuard([this] {
        findColumns();
        m_currentRow = -1;
        endResetModel();
    });
    apply();
}

void CatalogModel::setCurrentRow(int row)
{
    if (row == m_currentRow)
        return;
    const int previous = m_currentRow;
    m_currentRow = row;
    for (const int changed : {previous, row}) {
        if (changed >= 0 && changed < rowCount())
            emit headerDataChanged(Qt::Vertical, changed, changed);
    }
}

void CatalogModel::findColumns()
{
    for (std::size_t column = 0; column < m_fields.size(); ++column) {
        const auto field = m_dataSet.findField(columns[column].field);
        m_fields[column] = field ? static_cast<int>(*field) : -1;
    }
}

int CatalogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_dataSet.recordCount());
}

int CatalogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Column::Count);
}

QVariant CatalogModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int field = m_fields[static_cast<std::size_t>(index.column())];
    if (field < 0)
        return QString();
    const auto text =
        m_dataSet.value(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(field));
    if (!text)
        return QString();
    return QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
}

QVariant CatalogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section == m_currentRow ? QStringLiteral("▶") : QString();
    if (section < 0 || section >= columnCount())
        return {};
    return QString::fromUtf8(columns[section].title);
}

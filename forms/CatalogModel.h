#pragma once

#include <QAbstractTableModel>

#include <array>
#include <functional>

namespace catalog
{
class ClientDataSet;
}

// The activity list as the grid shows it: the catalog's current view, read in place, one row
// per record, four columns. It holds no copy of the records; every change of the view goes
// through change(), which resets the model around it.
class CatalogModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Column { CodWeb, Disciplina, Descricao, Categoria, Count };

    CatalogModel(const catalog::ClientDataSet& dataSet, QObject* parent);

    // Runs `apply`, which changes the view (open, filter), with the model reset around it, also
    // when `apply` throws.
    void change(const std::function<void()>& apply);

    // The grid's row indicator marks the current record.
    void setCurrentRow(int row);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;

private:
    void findColumns();

    const catalog::ClientDataSet& m_dataSet;
    // The catalog field shown in each column, or -1 when the file has no such field.
    std::array<int, static_cast<int>(Column::Count)> m_fields{};
    int m_currentRow = -1;
};

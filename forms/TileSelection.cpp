#include "TileSelection.h"

#include "Outline.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace
{

const QColor selectedColour(255, 0, 0);
const QColor unselectedColour(0, 0, 0);

} // namespace

TileSelection::TileSelection(QWidget* focusSink, QAbstractButton* confirm)
    : m_focusSink(focusSink)
    , m_confirm(confirm)
{
    Q_ASSERT(focusSink && confirm);
}

std::size_t TileSelection::index(int slot)
{
    Q_ASSERT(slot >= 1 && slot <= 10);
    return static_cast<std::size_t>(slot - 1);
}

void TileSelection::addTile(int slot, Outline* outline)
{
    m_outlines[index(slot)] = outline;
}

void TileSelection::limpavetor(int slot)
{
    for (int other = 1; other <= 10; ++other) {
        if (other != slot)
            vetor[index(other)] = 0;
    }
}

void TileSelection::resetCounters(int first, int last)
{
    for (int slot = first; slot <= last; ++slot)
        vetor[index(slot)] = 0;
}

int TileSelection::counter(int slot) const
{
    return vetor[index(slot)];
}

void TileSelection::mudacor_shp(int slot)
{
    for (int tile = 1; tile <= 10; ++tile) {
        if (Outline* outline = m_outlines[index(tile)])
            outline->setPenColor(tile == slot ? selectedColour : unselectedColour);
    }
}

void TileSelection::clearSelection()
{
    for (Outline* outline : m_outlines) {
        if (outline)
            outline->setPenColor(unselectedColour);
    }
}

bool TileSelection::isSelected(int slot) const
{
    const Outline* outline = m_outlines[index(slot)];
    return outline && outline->penColor() == selectedColour;
}

bool TileSelection::nothingSelected() const
{
    for (int slot = 1; slot <= 10; ++slot) {
        if (const Outline* outline = m_outlines[index(slot)];
            outline && outline->penColor() != unselectedColour)
            return false;
    }
    return true;
}

void TileSelection::enter(int slot)
{
    mudacor_shp(slot);
    int& count = vetor[index(slot)];
    if (count < 2)
        limpavetor(slot);
    ++count;
    if (count < 2)
        m_focusSink->setFocus();
    if (count == 2) {
        m_focusSink->setFocus();
        count = 0;
        m_confirm->click();
    }
}

bool TileSelection::warnIfNothingSelected() const
{
    if (!nothingSelected())
        return false;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Atenção"),
                    QStringLiteral("Selecione uma das opções.  "), QMessageBox::Ok,
                    m_focusSink->window());
    box.exec();
    return true;
}

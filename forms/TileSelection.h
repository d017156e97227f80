#pragma once

#include <array>

class Outline;
class QAbstractButton;
class QWidget;

// The two-click tile selection both menus share. Each tile is entered through its player's
// focus-enter event; the focus then goes straight to the focus sink (the panel holding the
// tiles), so the next click on any tile, the same one included, enters a tile again. A first
// enter selects a tile (red outline), a second enter of the same tile confirms it by clicking
// the confirm button. The outline colours are the selection state the confirm action reads.
class TileSelection final
{
public:
    // Both belong to the window that holds the tiles and outlive this selection.
    TileSelection(QWidget* focusSink, QAbstractButton* confirm);

    // Registers the outline of the tile in `slot` (1 to 10).
    void addTile(int slot, Outline* outline);

    // Sets every counter but the one of `slot` to 0.
    void limpavetor(int slot);
    // Sets the counters of slots `first` to `last` to 0.
    void resetCounters(int first, int last);
    [[nodiscard]] int counter(int slot) const;

    // Outlines the tile in `slot` red and every other tile black.
    void mudacor_shp(int slot);
    // Outlines every tile black: nothing is selected.
    void clearSelection();
    [[nodiscard]] bool isSelected(int slot) const;
    [[nodiscard]] bool nothingSelected() const;

    // The enter step of the tile in `slot`. On a second enter it clicks the confirm button, and
    // returns only when the confirm action (a whole modal window included) has run to its end.
    void enter(int slot);

    // Shows the "nothing selected" warning when every outline is black; returns whether it did.
    [[nodiscard]] bool warnIfNothingSelected() const;

private:
    [[nodiscard]] static std::size_t index(int slot);

    QWidget* m_focusSink;
    QAbstractButton* m_confirm;
    std::array<Outline*, 10> m_outlines{};
    std::array<int, 10> vetor{};
};

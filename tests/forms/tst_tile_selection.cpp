#include "Outline.h"
#include "TileSelection.h"

#include <QPushButton>
#include <QTest>

#include <array>
#include <memory>

using Counters = QList<int>;
Q_DECLARE_METATYPE(QList<Counters>)

namespace
{

// A window with six tiles' outlines, a focus sink and a confirm button, as a menu has.
struct Menu {
    QWidget window;
    QWidget* sink = new QWidget(&window);
    QPushButton* confirm = new QPushButton(&window);
    std::array<Outline*, 6> outlines{};
    TileSelection selection{sink, confirm};

    Menu()
    {
        confirm->hide();
        for (int slot = 1; slot <= 6; ++slot) {
            outlines[slot - 1] = new Outline(&window);
            selection.addTile(slot, outlines[slot - 1]);
        }
    }

    [[nodiscard]] Counters counters() const
    {
        Counters values;
        for (int slot = 1; slot <= 10; ++slot)
            values.append(selection.counter(slot));
        return values;
    }

    [[nodiscard]] QList<int> redSlots() const
    {
        QList<int> red;
        for (int slot = 1; slot <= 6; ++slot) {
            if (outlines[slot - 1]->penColor() == QColor(255, 0, 0))
                red.append(slot);
            else if (outlines[slot - 1]->penColor() != QColor(0, 0, 0))
                red.append(-slot);
        }
        return red;
    }
};

Counters only(int slot, int value)
{
    Counters values(10, 0);
    if (slot > 0)
        values[slot - 1] = value;
    return values;
}

} // namespace

class TileSelectionTest final : public QObject
{
    Q_OBJECT

private slots:
    void entersCountSelectAndConfirm_data()
    {
        QTest::addColumn<QList<int>>("enters");
        QTest::addColumn<QList<Counters>>("countersAfterEach");
        QTest::addColumn<int>("confirms");
        QTest::addColumn<int>("selected");

        QTest::newRow("one enter selects")
            << QList<int>{3} << QList<Counters>{only(3, 1)} << 0 << 3;
        QTest::newRow("second enter confirms")
            << QList<int>{3, 3} << QList<Counters>{only(3, 1), only(0, 0)} << 1 << 3;
        QTest::newRow("another tile in between takes over")
            << QList<int>{2, 4, 4} << QList<Counters>{only(2, 1), only(4, 1), only(0, 0)} << 1 << 4;
        QTest::newRow("alternating tiles never confirm")
            << QList<int>{1, 2, 1, 2}
            << QList<Counters>{only(1, 1), only(2, 1), only(1, 1), only(2, 1)} << 0 << 2;
        QTest::newRow("a third enter starts over")
            << QList<int>{6, 6, 6} << QList<Counters>{only(6, 1), only(0, 0), only(6, 1)} << 1 << 6;
    }

    void entersCountSelectAndConfirm()
    {
        QFETCH(QList<int>, enters);
        QFETCH(QList<Counters>, countersAfterEach);
        QFETCH(int, confirms);
        QFETCH(int, selected);

        Menu menu;
        int confirmed = 0;
        connect(menu.confirm, &QPushButton::clicked, [&] { ++confirmed; });
        for (qsizetype step = 0; step < enters.size(); ++step) {
            menu.selection.enter(enters[step]);
            QCOMPARE(menu.counters(), countersAfterEach[step]);
        }
        QCOMPARE(confirmed, confirms);
        QCOMPARE(menu.redSlots(), QList<int>{selected});
        QVERIFY(!menu.selection.nothingSelected());
    }

    void confirmRunsToItsEndInsideTheSecondEnter()
    {
        Menu menu;
        menu.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu.window));
        QWidget* focusDuringConfirm = nullptr;
        int counterDuringConfirm = -1;
        bool confirmFinished = false;
        connect(menu.confirm, &QPushButton::clicked, [&] {
            focusDuringConfirm = QApplication::focusWidget();
            counterDuringConfirm = menu.selection.counter(5);
            confirmFinished = true;
        });
        menu.selection.enter(5);
        QCOMPARE(QApplication::focusWidget(), menu.sink);
        menu.confirm->setFocus();
        menu.selection.enter(5);
        QVERIFY(confirmFinished);
        QCOMPARE(focusDuringConfirm, menu.sink);
        QCOMPARE(counterDuringConfirm, 0);
    }
};

QTEST_MAIN(TileSelectionTest)
#include "tst_tile_selection.moc"

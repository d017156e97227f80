#include "FormsTesting.h"
#include "FundI.h"
#include "Main.h"
#include "Outline.h"
#include "TShockwaveFlash.h"
#include "WindowSlots.h"

#include <QLabel>
#include <QTest>

#include <memory>

using Counters = QList<int>;
Q_DECLARE_METATYPE(QList<Counters>)

namespace
{

// The year tiles in year order: player, outline, slot.
struct Tile {
    const char* player;
    const char* outline;
    int slot;
};
constexpr Tile tiles[] = {{"SWFinf", "Shape1", 1},
                          {"SWFef1", "Shape2", 2},
                          {"SwFef2", "Shape3", 3},
                          {"swftem", "Shape5", 5},
                          {"swfcd", "Shape6", 6}};

// Counts the paint events a widget receives.
class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class GradeMenuTest final : public QObject
{
    Q_OBJECT

private:
    EmptyProgramFolder m_folder;
    std::unique_ptr<TFRMmain> m_menu;

    template <typename T = QWidget>
    T* control(const char* name) const
    {
        auto* found = m_menu->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(found);
        return found;
    }

    TShockwaveFlash* player(int year) const
    {
        return control<TShockwaveFlash>(tiles[year - 1].player);
    }

    void clickYear(int year) const { QTest::mouseClick(player(year), Qt::LeftButton); }

    // Red (1) or black (0) for each year, in year order.
    QList<int> outlineColours() const
    {
        QList<int> colours;
        for (const Tile& tile : tiles) {
            const QColor colour = control<Outline>(tile.outline)->penColor();
            colours.append(colour == QColor(255, 0, 0) ? 1 : colour == QColor(0, 0, 0) ? 0 : -1);
        }
        return colours;
    }

    // The counters of the slots 1 to 10.
    Counters counters() const
    {
        Counters values;
        for (int slot = 1; slot <= 10; ++slot)
            values.append(m_menu->tileSelection().counter(slot));
        return values;
    }

    bool awake() const
    {
        for (const Tile& tile : tiles) {
            if (!control(tile.player)->isVisible())
                return false;
        }
        return !control<QTimer>("Timer1")->isActive();
    }

    bool dormant() const
    {
        for (const Tile& tile : tiles) {
            if (control(tile.player)->isVisible())
                return false;
        }
        return control<QTimer>("Timer1")->isActive();
    }

private slots:
    void init()
    {
        SerieAtual.clear();
        m_menu = std::make_unique<TFRMmain>();
        FRMmain = m_menu.get();
        m_menu->show();
        QVERIFY(QTest::qWaitForWindowActive(m_menu.get()));
    }

    void cleanup()
    {
        m_menu.reset();
        FRMmain = nullptr;
        QCOMPARE(FRMfundI, nullptr);
    }

    void okBeforeAnyClickOnlyWarns()
    {
        BoxWatch boxes;
        emit control<TShockwaveFlash>("SWFok")->FSCommand(QStringLiteral("press"), QString());
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Selecione uma das opções.  "));
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Atenção"));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes.boxes()[0].buttons, 1);
        QVERIFY(awake());
        QVERIFY(SerieAtual.isEmpty());
        QCOMPARE(outlineColours(), (QList<int>{0, 0, 0, 0, 0}));
    }

    void clicksSelectAndConfirm_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QList<Counters>>("countersAfterEach");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QList<int>>("outlinesAfter");

        const auto only = [](int slot) {
            Counters values(10, 0);
            values[slot - 1] = 1;
            return values;
        };
        const Counters none(10, 0);
        QTest::newRow("one click selects")
            << QList<int>{2} << QList<Counters>{only(2)} << QString() << QList<int>{0, 1, 0, 0, 0};
        QTest::newRow("two clicks confirm") << QList<int>{3, 3} << QList<Counters>{only(3), none}
                                            << QStringLiteral("3A") << QList<int>{0, 0, 1, 0, 0};
        QTest::newRow("year 2, year 4, year 4 confirms 4")
            << QList<int>{2, 4, 4} << QList<Counters>{only(2), only(5), none}
            << QStringLiteral("4A") << QList<int>{0, 0, 0, 1, 0};
        QTest::newRow("alternating years never confirm")
            << QList<int>{1, 5, 1} << QList<Counters>{only(1), only(6), only(1)} << QString()
            << QList<int>{1, 0, 0, 0, 0};
        QTest::newRow("year 5 after a confirmed year 1")
            << QList<int>{1, 1, 5, 5} << QList<Counters>{only(1), none, only(6), none}
            << QStringLiteral("1A,5A") << QList<int>{0, 0, 0, 0, 1};
    }

    void clicksSelectAndConfirm()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QList<Counters>, countersAfterEach);
        QFETCH(QString, opened);
        QFETCH(QList<int>, outlinesAfter);

        QStringList openedFor;
        ModalWatch<TFRMfundI> subjects([&](TFRMfundI* window) {
            openedFor.append(SerieAtual);
            QCOMPARE(FRMfundI, window);
            QCOMPARE(window->parentWidget(), m_menu.get());
            QVERIFY(dormant());
            QCOMPARE(counters(), Counters(10, 0));
            window->close();
        });
        for (qsizetype step = 0; step < clicks.size(); ++step) {
            clickYear(clicks[step]);
            QCOMPARE(counters(), countersAfterEach[step]);
            QVERIFY(awake());
            // After a subject menu, the focus comes back once the menu is active again.
            QTRY_COMPARE(QApplication::focusWidget(), control("P1"));
        }
        QCOMPARE(openedFor.join(QLatin1Char(',')), opened);
        QCOMPARE(outlineColours(), outlinesAfter);
        QCOMPARE(FRMfundI, nullptr);
    }

    void afterReturnOkReopensTheSameYearAndOneClickOnlySelects()
    {
        QStringList openedFor;
        ModalWatch<TFRMfundI> subjects([&](TFRMfundI* window) {
            openedFor.append(SerieAtual);
            window->close();
        });
        clickYear(3);
        clickYear(3);
        QCOMPARE(openedFor, QStringList{QStringLiteral("3A")});
        QCOMPARE(outlineColours(), (QList<int>{0, 0, 1, 0, 0}));

        // The user can only press Ok once the menu is active again.
        QTRY_COMPARE(QApplication::activeWindow(), m_menu.get());
        emit control<TShockwaveFlash>("SWFok")->FSCommand(QStringLiteral("ok"), QString());
        QCOMPARE(openedFor, (QStringList{QStringLiteral("3A"), QStringLiteral("3A")}));

        QTRY_COMPARE(QApplication::activeWindow(), m_menu.get());
        clickYear(3);
        QCOMPARE(openedFor.size(), 2);
        QCOMPARE(counters()[2], 1);
        QVERIFY(awake());
    }

    void keyboardFocusCountsAsAClick()
    {
        control("SWFsair")->setFocus();
        QStringList openedFor;
        ModalWatch<TFRMfundI> subjects([&](TFRMfundI* window) {
            openedFor.append(SerieAtual);
            window->close();
        });
        // Tab skips the panel, which takes no keyboard focus, and enters the first year.
        QTest::keyClick(m_menu.get(), Qt::Key_Tab);
        QCOMPARE(outlineColours(), (QList<int>{1, 0, 0, 0, 0}));
        QCOMPARE(counters()[0], 1);
        QCOMPARE(QApplication::focusWidget(), control("P1"));
        QTest::keyClick(m_menu.get(), Qt::Key_Tab);
        QCOMPARE(openedFor, QStringList{QStringLiteral("1A")});
    }

    void clicksBesideThePlayersDoNothing_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QPoint>("where");
        QTest::newRow("outline edge") << QStringLiteral("Shape1") << QPoint(1, 70);
        QTest::newRow("year label") << QStringLiteral("Label10") << QPoint(5, 5);
        QTest::newRow("panel border") << QStringLiteral("P1") << QPoint(1, 100);
        QTest::newRow("scroll box between tiles")
            << QStringLiteral("ScrollBox1") << QPoint(230, 80);
        QTest::newRow("brand line") << QStringLiteral("Label7") << QPoint(5, 5);
    }

    void clicksBesideThePlayersDoNothing()
    {
        QFETCH(QString, target);
        QFETCH(QPoint, where);

        clickYear(2);
        QWidget* widget = control(target.toLatin1().constData());
        const QPoint inWindow = widget->mapTo(m_menu.get(), where);
        QCOMPARE(m_menu->childAt(inWindow), widget);
        QTest::mouseClick(m_menu->windowHandle(), Qt::LeftButton, {}, inWindow);
        QCOMPARE(outlineColours(), (QList<int>{0, 1, 0, 0, 0}));
        QCOMPARE(counters()[1], 1);
        QCOMPARE(QApplication::focusWidget(), control("P1"));
        QVERIFY(awake());
    }

    void sleepAndWake()
    {
        QVERIFY(awake());
        QCOMPARE(counters(), Counters(10, 0));
        clickYear(5);
        m_menu->SWFdesativa();
        QVERIFY(dormant());
        for (const char* stays : {"SWF1", "SWFok", "SWFsair", "Label7", "P1"})
            QVERIFY2(control(stays)->isVisible(), stays);
        QCOMPARE(outlineColours(), (QList<int>{0, 0, 0, 0, 1}));
        m_menu->SWFmostra();
        QVERIFY(awake());
        QCOMPARE(outlineColours(), (QList<int>{0, 0, 0, 0, 1}));
    }

    void alignmentTimerSnapsChildWindowsBack()
    {
        bool checked = false;
        ModalWatch<TFRMfundI> subjects([&](TFRMfundI* window) {
            QVERIFY(QTest::qWaitForWindowExposed(window)); // a hidden window is never repainted
            QVERIFY(control<QTimer>("Timer1")->isActive());
            QCOMPARE(control<QTimer>("Timer1")->interval(), 2000);

            window->move(m_menu->pos() + QPoint(40, 25));
            PaintCounter menuPaints(m_menu.get());
            PaintCounter windowPaints(window);
            m_menu->Timer1Timer();
            QCOMPARE(window->pos(), m_menu->pos());
            QVERIFY(menuPaints.paints > 0);
            QVERIFY(windowPaints.paints > 0);

            menuPaints.paints = 0;
            windowPaints.paints = 0;
            m_menu->Timer1Timer();
            QCOMPARE(window->pos(), m_menu->pos());
            QCOMPARE(menuPaints.paints, 0);
            QCOMPARE(windowPaints.paints, 0);

            // Left alone, the running timer puts it back within its interval.
            window->move(m_menu->pos() - QPoint(0, 30));
            QTRY_COMPARE(window->pos(), m_menu->pos());
            checked = true;
            window->close();
        });
        clickYear(4);
        clickYear(4);
        QVERIFY(checked);
        QVERIFY(awake());
    }

    void sairEndsTheProgramAndOtherCommandsDoNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("ends");
        QTest::newRow("Sair") << QStringLiteral("Sair") << true;
        QTest::newRow("sair") << QStringLiteral("sair") << false;
        QTest::newRow("Voltar") << QStringLiteral("Voltar") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void sairEndsTheProgramAndOtherCommandsDoNothing()
    {
        QFETCH(QString, command);
        QFETCH(bool, ends);
        emit control<TShockwaveFlash>("SWFsair")->FSCommand(command, QStringLiteral("Sair"));
        // Closing the last window of the program ends it.
        QCOMPARE(m_menu->isVisible(), !ends);
        QVERIFY(QApplication::quitOnLastWindowClosed());
    }
};

QTEST_MAIN(GradeMenuTest)
#include "tst_grade_menu.moc"

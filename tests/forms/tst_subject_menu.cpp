#include "Ativid.h"
#include "FormsTesting.h"
#include "FundI.h"
#include "Main.h"
#include "Outline.h"
#include "TShockwaveFlash.h"
#include "WindowSlots.h"

#include <QLabel>
#include <QTest>

#include <memory>

namespace
{

// The subject tiles by slot: player, outline.
struct Tile {
    const char* player;
    const char* outline;
};
constexpr Tile tiles[] = {{"SWFmat", "Shape1"}, {"SwFport", "Shape2"}, {"Swfesso", "Shape3"},
                          {"SwFing", "Shape4"}, {"SwFcie", "Shape5"},  {"SwFinf", "Shape6"}};

} // namespace

class SubjectMenuTest final : public QObject
{
    Q_OBJECT

private:
    EmptyProgramFolder m_folder;
    std::unique_ptr<TFRMmain> m_menu;

    // A subject menu for `gradeCode`, opened by the grade menu as its own confirm would.
    TFRMfundI* openFor(const QString& gradeCode)
    {
        SerieAtual = gradeCode;
        auto* window = new TFRMfundI(m_menu.get());
        FRMfundI = window;
        return window;
    }

    // Opens the subject menu for `gradeCode` by confirming that year on the grade menu, runs
    // `inside` in its modal loop, and returns once it has closed.
    void runSubjectMenu(int yearTileSlot, const std::function<void(TFRMfundI*)>& inside)
    {
        bool ran = false;
        ModalWatch<TFRMfundI> watch([&](TFRMfundI* window) {
            // A dialog counts as active while its owner is; wait for it to be active itself.
            QTRY_COMPARE(QApplication::activeWindow(), window);
            inside(window);
            ran = true;
            if (window->isVisible())
                window->close();
        });
        const char* years[] = {"SWFinf", "SWFef1", "SwFef2", nullptr, "swftem", "swfcd"};
        auto* year =
            m_menu->findChild<TShockwaveFlash*>(QString::fromLatin1(years[yearTileSlot - 1]));
        QTest::mouseClick(year, Qt::LeftButton);
        QTest::mouseClick(year, Qt::LeftButton);
        QVERIFY(ran);
    }

    template <typename T = QWidget>
    static T* control(const QWidget* window, const char* name)
    {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(found);
        return found;
    }

    static QList<int> redSlots(const TFRMfundI* window)
    {
        QList<int> red;
        for (int slot = 1; slot <= 6; ++slot) {
            if (control<Outline>(window, tiles[slot - 1].outline)->penColor() != QColor(0, 0, 0))
                red.append(slot);
        }
        return red;
    }

    static QList<int> counters(const TFRMfundI* window)
    {
        QList<int> values;
        for (int slot = 1; slot <= 10; ++slot)
            values.append(window->tileSelection().counter(slot));
        return values;
    }

    static void clickSubject(const TFRMfundI* window, int slot)
    {
        QTest::mouseClick(control(window, tiles[slot - 1].player), Qt::LeftButton);
    }

private slots:
    void init()
    {
        SerieAtual.clear();
        DisciplinaAtual.clear();
        m_menu = std::make_unique<TFRMmain>();
        FRMmain = m_menu.get();
        m_menu->show();
        QVERIFY(QTest::qWaitForWindowActive(m_menu.get()));
    }

    void cleanup()
    {
        m_menu.reset();
        FRMmain = nullptr;
        FRMfundI = nullptr;
        QCOMPARE(FRMAtividades, nullptr);
    }

    void captionFollowsTheGradeCode_data()
    {
        QTest::addColumn<QString>("gradeCode");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1A") << QStringLiteral("1A") << QStringLiteral("1º Ano - Fundamental I");
        QTest::newRow("2A") << QStringLiteral("2A") << QStringLiteral("2º Ano - Fundamental I");
        QTest::newRow("3A") << QStringLiteral("3A") << QStringLiteral("3º Ano - Fundamental I");
        QTest::newRow("4A") << QStringLiteral("4A") << QStringLiteral("4º Ano - Fundamental I");
        QTest::newRow("5A") << QStringLiteral("5A") << QStringLiteral("5º Ano - Fundamental I");
        QTest::newRow("6A") << QStringLiteral("6A") << QStringLiteral("Fundamental I");
        QTest::newRow("lower case") << QStringLiteral("3a") << QStringLiteral("Fundamental I");
        QTest::newRow("empty") << QString() << QStringLiteral("Fundamental I");
    }

    void captionFollowsTheGradeCode()
    {
        QFETCH(QString, gradeCode);
        QFETCH(QString, caption);
        const std::unique_ptr<TFRMfundI> window(openFor(gradeCode));
        QCOMPARE(window->windowTitle(), caption);
    }

    void opensWithTheFocusOnThePanelAndNothingSelected()
    {
        const std::unique_ptr<TFRMfundI> window(openFor(QStringLiteral("3A")));
        window->show();
        QTRY_COMPARE(QApplication::activeWindow(), window.get());
        QCOMPARE(QApplication::focusWidget(), control(window.get(), "P1"));
        QCOMPARE(redSlots(window.get()), QList<int>{});
        QCOMPARE(counters(window.get()), QList<int>(10, 0));
    }

    void lowerRowDependsOnTheYear_data()
    {
        QTest::addColumn<QString>("gradeCode");
        QTest::addColumn<bool>("english");
        // Lefts of L5, L6, Shape5, SwFcie, Shape6, SwFinf.
        QTest::addColumn<QList<int>>("lefts");
        const QList<int> centred{202, 392, 157, 162, 357, 362};
        const QList<int> threeTiles{309, 503, 263, 268, 463, 468};
        QTest::newRow("1A") << QStringLiteral("1A") << false << centred;
        QTest::newRow("2A") << QStringLiteral("2A") << false << centred;
        QTest::newRow("3A") << QStringLiteral("3A") << true << threeTiles;
        QTest::newRow("4A") << QStringLiteral("4A") << true << threeTiles;
        QTest::newRow("5A") << QStringLiteral("5A") << true << threeTiles;
        QTest::newRow("unknown") << QStringLiteral("9Z") << true << threeTiles;
    }

    void lowerRowDependsOnTheYear()
    {
        QFETCH(QString, gradeCode);
        QFETCH(bool, english);
        QFETCH(QList<int>, lefts);

        const std::unique_ptr<TFRMfundI> window(openFor(gradeCode));
        window->show();
        for (const char* name : {"L4", "Shape4", "SwFing"})
            QCOMPARE(control(window.get(), name)->isVisible(), english);
        QList<int> actual;
        for (const char* name : {"L5", "L6", "Shape5", "SwFcie", "Shape6", "SwFinf"})
            actual.append(control(window.get(), name)->x());
        QCOMPARE(actual, lefts);
        // The upper row and the tops never move.
        QCOMPARE(control(window.get(), "SWFmat")->geometry(), QRect(68, 15, 156, 116));
        QCOMPARE(control(window.get(), "Swfesso")->pos(), QPoint(464, 16));
        QCOMPARE(control(window.get(), "SwFcie")->y(), 178);
        QCOMPARE(control(window.get(), "Shape6")->y(), 173);
    }

    void hiddenEnglishTileCannotBeEntered()
    {
        runSubjectMenu(2, [&](TFRMfundI* window) {
            QWidget* english = control(window, "SwFing");
            QVERIFY(!english->isVisible());
            const QPoint where = english->geometry().center();
            QWidget* panel = control(window, "P1");
            QCOMPARE(panel->childAt(where), nullptr);
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                              panel->mapTo(window, where));
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                              panel->mapTo(window, where));
            QCOMPARE(counters(window), QList<int>(10, 0));
            QCOMPARE(redSlots(window), QList<int>{});
            // The keyboard goes past it as well: from the panel, Tab enters Matemática.
            QTest::keyClick(window, Qt::Key_Tab);
            QCOMPARE(redSlots(window), QList<int>{1});
        });
    }

    void confirmedSubjectOpensTheActivitiesWindow_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("subject");
        QTest::newRow("Matemática") << 1 << QStringLiteral("Matemática");
        QTest::newRow("Português") << 2 << QStringLiteral("Português");
        QTest::newRow("Geografia/História") << 3 << QStringLiteral("ESSO");
        QTest::newRow("Inglês") << 4 << QStringLiteral("Inglês");
        QTest::newRow("Ciências") << 5 << QStringLiteral("Ciências");
        QTest::newRow("Informática") << 6 << QStringLiteral("Informática");
    }

    void confirmedSubjectOpensTheActivitiesWindow()
    {
        QFETCH(int, slot);
        QFETCH(QString, subject);

        QString shown;
        TFRMfundI* subjects = nullptr;
        ModalWatch<TFRMAtividades> activities([&](TFRMAtividades* window) {
            QCOMPARE(FRMAtividades, window);
            QCOMPARE(window->parentWidget(), subjects);
            QCOMPARE(DisciplinaAtual, subject);
            QCOMPARE(counters(subjects), QList<int>(10, 0));
            shown = window->windowTitle();
            window->close();
        });
        runSubjectMenu(5, [&](TFRMfundI* window) {
            subjects = window;
            clickSubject(window, slot);
            QCOMPARE(redSlots(window), QList<int>{slot});
            QCOMPARE(window->tileSelection().counter(slot), 1);
            clickSubject(window, slot);
            QCOMPARE(activities.seen(), 1);
            QCOMPARE(FRMAtividades, nullptr);
        });
        QCOMPARE(shown, QStringLiteral("Atividades - 4º Ano - Fundamental I"));
    }

    void returningFromActivitiesLeavesNothingSelected()
    {
        int opened = 0;
        ModalWatch<TFRMAtividades> activities([&](TFRMAtividades* window) {
            ++opened;
            QTRY_COMPARE(QApplication::activeWindow(), window);
            window->close();
        });
        runSubjectMenu(3, [&](TFRMfundI* window) {
            clickSubject(window, 5);
            clickSubject(window, 5);
            QCOMPARE(opened, 1);
            QTRY_COMPARE(redSlots(window), QList<int>{});
            QCOMPARE(counters(window), QList<int>(10, 0));
            QTRY_COMPARE(QApplication::focusWidget(), control(window, "P1"));

            // One click selects again, a second confirms again.
            clickSubject(window, 6);
            QCOMPARE(redSlots(window), QList<int>{6});
            QCOMPARE(opened, 1);
            clickSubject(window, 6);
            QCOMPARE(opened, 2);
        });
    }

    void messageBoxOverTheWindowKeepsTheSelection()
    {
        runSubjectMenu(1, [&](TFRMfundI* window) {
            clickSubject(window, 2);
            BoxWatch boxes;
            QMessageBox::information(window, QStringLiteral("Aviso"), QStringLiteral("Olá"));
            QCOMPARE(boxes.boxes().size(), 1);
            window->activateWindow(); // as the window system does when the box goes
            QTRY_VERIFY(window->isActiveWindow());
            QCOMPARE(redSlots(window), QList<int>{2});

            // Ok with a subject selected confirms it; with none, it only warns.
            window->findChild<TShockwaveFlash*>(QStringLiteral("SWFok"))
                ->setFocus(); // the focus on the button, as a click on it leaves it
            ModalWatch<TFRMAtividades> activities([](TFRMAtividades* opened) {
                QCOMPARE(DisciplinaAtual, QStringLiteral("Português"));
                opened->close();
            });
            emit control<TShockwaveFlash>(window, "SWFok")->FSCommand(QStringLiteral("x"), {});
            QCOMPARE(activities.seen(), 1);
            QTRY_COMPARE(redSlots(window), QList<int>{});
            emit control<TShockwaveFlash>(window, "SWFok")->FSCommand(QStringLiteral("x"), {});
            QCOMPARE(boxes.boxes().size(), 2);
            QCOMPARE(boxes.boxes()[1].text, QStringLiteral("Selecione uma das opções.  "));
            QCOMPARE(activities.seen(), 1);
        });
    }

    void closeBoxAndVoltarBothReturnToAnAwakeGradeMenu_data()
    {
        QTest::addColumn<bool>("byVoltar");
        QTest::newRow("close box") << false;
        QTest::newRow("Voltar") << true;
    }

    void closeBoxAndVoltarBothReturnToAnAwakeGradeMenu()
    {
        QFETCH(bool, byVoltar);
        QPointer<TFRMfundI> closed;
        QList<QPointer<QWidget>> players;
        runSubjectMenu(6, [&](TFRMfundI* window) {
            closed = window;
            for (const Tile& tile : tiles)
                players.append(control(window, tile.player));
            auto* voltar = control<TShockwaveFlash>(window, "SWFvoltar");
            emit voltar->FSCommand(QStringLiteral("voltar"), QStringLiteral("Voltar"));
            emit voltar->FSCommand(QStringLiteral("Sair"), QString());
            QVERIFY(window->isVisible());
            if (byVoltar)
                emit voltar->FSCommand(QStringLiteral("Voltar"), QString());
            else
                window->close();
            QVERIFY(!window->isVisible());
            for (const QPointer<QWidget>& player : players)
                QVERIFY(!player || !player->isVisible());
        });
        QCOMPARE(FRMfundI, nullptr);
        QVERIFY(!m_menu->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
        for (const char* year : {"SWFinf", "SWFef1", "SwFef2", "swftem", "swfcd"})
            QVERIFY(m_menu->findChild<QWidget*>(QString::fromLatin1(year))->isVisible());
        QTRY_VERIFY(closed.isNull());
        for (const QPointer<QWidget>& player : players)
            QVERIFY(player.isNull());
    }

    void maskLeavesTheBackgroundOut_data()
    {
        QTest::addColumn<QString>("gradeCode");
        QTest::newRow("1A") << QStringLiteral("1A");
        QTest::newRow("4A") << QStringLiteral("4A");
    }

    void maskLeavesTheBackgroundOut()
    {
        QFETCH(QString, gradeCode);
        const std::unique_ptr<TFRMfundI> window(openFor(gradeCode));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        const QRegion mask = window->mask();
        for (const char* kept : {"P1", "SWF1", "SWFok", "SWFvoltar"})
            QVERIFY2(mask.contains(control(window.get(), kept)->geometry()), kept);
        QVERIFY(!mask.intersects(control(window.get(), "btok")->geometry()));

        // Everything the mask leaves out is background, and the panel shows none of it.
        const QImage picture = window->grab().toImage();
        const QColor key(0x00, 0xFF, 0x40);
        int leftOut = 0;
        for (int y = 0; y < picture.height(); y += 3) {
            for (int x = 0; x < picture.width(); x += 3) {
                if (!mask.contains(QPoint(x, y))) {
                    ++leftOut;
                    QCOMPARE(picture.pixelColor(x, y), key);
                } else if (control(window.get(), "P1")->geometry().contains(x, y)) {
                    QVERIFY(picture.pixelColor(x, y) != key);
                }
            }
        }
        QVERIFY(leftOut > 10000);

        // The shape follows the controls.
        QWidget* ok = control(window.get(), "SWFok");
        ok->hide();
        QVERIFY(!window->mask().intersects(ok->geometry()));
        ok->show();
        ok->move(10, 10);
        QVERIFY(window->mask().contains(ok->geometry()));
        QVERIFY(!window->mask().contains(QPoint(700, 500)));

        // A control drawn only inside its own mask (the players' engine view covers the whole
        // window) counts only there.
        auto* const overlay = new QWidget(window.get());
        overlay->setGeometry(window->rect());
        overlay->setMask(QRegion(ok->geometry()));
        overlay->show();
        QVERIFY(window->mask().contains(ok->geometry()));
        QVERIFY(!window->mask().contains(QPoint(700, 500)));
    }

    void alignmentTimerKeepsBothChildWindowsOverTheGradeMenu()
    {
        ModalWatch<TFRMAtividades> activities([&](TFRMAtividades* window) {
            FRMfundI->move(m_menu->pos() + QPoint(5, 5));
            window->move(m_menu->pos() + QPoint(60, 0));
            m_menu->Timer1Timer();
            QCOMPARE(FRMfundI->pos(), m_menu->pos());
            QCOMPARE(window->pos(), m_menu->pos());
            window->close();
        });
        runSubjectMenu(3, [&](TFRMfundI* window) {
            clickSubject(window, 1);
            clickSubject(window, 1);
        });
        QCOMPARE(activities.seen(), 1);
    }
};

QTEST_MAIN(SubjectMenuTest)
#include "tst_subject_menu.moc"

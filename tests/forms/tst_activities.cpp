#include "Ativid.h"
#include "ContentFolders.h"
#include "FormsTesting.h"
#include "Swf.h"
#include "TShockwaveFlash.h"
#include "WindowSlots.h"

#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

namespace
{

// A small catalog: two grades, three subjects, both kinds, codes that share prefixes, an
// activity program, and one whose program flag is a lower-case s.
const char* const catalogPacket =
    R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>
<FIELD attrname="cod_disp" fieldtype="i4"/>
<FIELD attrname="cod_web" fieldtype="string" WIDTH="10"/>
<FIELD attrname="serie" fieldtype="string" WIDTH="2"/>
<FIELD attrname="disciplina" fieldtype="string" WIDTH="20"/>
<FIELD attrname="tipo" fieldtype="string" WIDTH="12"/>
<FIELD attrname="descricao" fieldtype="string" WIDTH="80"/>
<FIELD attrname="categoria" fieldtype="string" WIDTH="20"/>
<FIELD attrname="caminho" fieldtype="string" WIDTH="120"/>
<FIELD attrname="executavel" fieldtype="string" WIDTH="1"/>
</FIELDS><PARAMS/></METADATA><ROWDATA>
<ROW cod_disp="4" cod_web="200" serie="4A" disciplina="Inglês" tipo="quiz" descricao="Colors" categoria="Quiz" caminho="\atividades\4A\ing\cores.swf" executavel="N"/>
<ROW cod_disp="4" cod_web="123" serie="4A" disciplina="Inglês" tipo="quiz" descricao="Animals quiz" categoria="Quiz" caminho="\atividades\4A\ing\animals.swf" executavel="N"/>
<ROW cod_disp="4" cod_web="12A" serie="4A" disciplina="Inglês" tipo="exercicio" descricao="Numbers" categoria="Exercício" caminho="\atividades\4A\ing\numbers.swf" executavel="s"/>
<ROW cod_disp="4" cod_web="120" serie="4A" disciplina="Inglês" tipo="quiz" descricao="Family" categoria="Quiz" caminho="\atividades\4A\ing\jogo.sh" executavel="S"/>
<ROW cod_disp="4" cod_web="10" serie="4A" disciplina="Inglês" tipo="quiz" descricao="alphabet" categoria="Quiz" caminho="\atividades\4A\ing\abc.swf" executavel="N"/>
<ROW cod_disp="4" cod_web="300" serie="4A" disciplina="Inglês" tipo="delvanos" descricao="Greetings" categoria="Aula" caminho="\atividades\4A\ing\hello.swf" executavel="N"/>
<ROW cod_disp="4" cod_web="301" serie="4A" disciplina="Inglês" tipo="delvanos" descricao="Verbs" categoria="Aula" caminho="\atividades\4A\ing\verbs.swf" executavel="N"/>
<ROW cod_disp="1" cod_web="50" serie="4A" disciplina="Matemática" tipo="quiz" descricao="Frações" categoria="Quiz" caminho="\atividades\4A\mat\fracoes.swf" executavel="N"/>
<ROW cod_disp="2" cod_web="60" serie="3A" disciplina="Inglês" tipo="quiz" descricao="Other grade" categoria="Quiz" caminho="\x.swf" executavel="N"/>
</ROWDATA></DATAPACKET>)";

QStringList codes(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

// The activity program the catalog marks with "S": it leaves a marker file when it runs.
void writeProgram(const QString& path, const QString& marker)
{
    QFile program(path);
    QVERIFY(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\necho ran > '" + marker.toUtf8() + "'\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

class ActivitiesTest final : public QObject
{
    Q_OBJECT

private:
    EmptyProgramFolder m_folder;

    static void writeCatalog(const QByteArray& packet)
    {
        QFile file(pasta_config + QStringLiteral("ketmo.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(packet);
    }

    // The window frees itself when closed; the test frees it otherwise.
    struct Window {
        explicit Window(TFRMAtividades* opened)
            : window(opened)
        {
        }
        Window(const Window&) = delete;
        ~Window() { delete window.data(); }
        QPointer<TFRMAtividades> window;
        TFRMAtividades* get() const { return window.data(); }
        TFRMAtividades* operator->() const { return window.data(); }
    };

    // An activities window for grade and subject, as the subject menu opens it.
    static Window openFor(const QString& grade, const QString& subject)
    {
        SerieAtual = grade;
        DisciplinaAtual = subject;
        auto* window = new TFRMAtividades(nullptr);
        FRMAtividades = window;
        return Window(window);
    }

    template <typename T>
    static T* control(const QWidget* window, const char* name)
    {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(found);
        return found;
    }

    static QTableView* grid(const QWidget* window)
    {
        return control<QTableView>(window, "DBGrid1");
    }

    static QStringList column(const QWidget* window, int column)
    {
        QStringList texts;
        const auto* model = grid(window)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->index(row, column).data().toString());
        return texts;
    }

    static QString currentCode(const QWidget* window)
    {
        const QModelIndex current = grid(window)->currentIndex();
        return current.isValid() ? current.siblingAtColumn(0).data().toString() : QString();
    }

    // Double-clicks the grid's current row, closes the player window that comes up, and
    // returns what was seen of it.
    struct PlayerSeen {
        int opened = 0;
        bool maximised = false;
    };
    // Counts the player windows that come up, closing each.
    struct PlayersOpened {
        int count = 0;
        ModalWatch<TFRMswf> watch{[this](TFRMswf* player) {
            ++count;
            player->close();
        }};
    };

    static PlayerSeen doubleClickCurrentRow(QWidget* window)
    {
        PlayerSeen seen;
        ModalWatch<TFRMswf> watch([&seen](TFRMswf* player) {
            ++seen.opened;
            seen.maximised = player->isMaximized();
            player->close();
        });
        QTableView* list = grid(window);
        const QRect row = list->visualRect(list->currentIndex());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        return seen;
    }

private slots:
    void init()
    {
        initialiseFolders();
        writeCatalog(catalogPacket);
    }

    void captionFollowsTheGrade_data()
    {
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QString>("caption");
        QTest::newRow("1A") << QStringLiteral("1A")
                            << QStringLiteral("Atividades - 1º Ano - Fundamental I");
        QTest::newRow("2A") << QStringLiteral("2A")
                            << QStringLiteral("Atividades - 2º Ano - Fundamental I");
        QTest::newRow("3A") << QStringLiteral("3A")
                            << QStringLiteral("Atividades - 3º Ano - Fundamental I");
        QTest::newRow("4A") << QStringLiteral("4A")
                            << QStringLiteral("Atividades - 4º Ano - Fundamental I");
        QTest::newRow("5A") << QStringLiteral("5A")
                            << QStringLiteral("Atividades - 5º Ano - Fundamental I");
        QTest::newRow("unknown") << QStringLiteral("6A") << QStringLiteral("Atividades");
        QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("Atividades");
    }
    void captionFollowsTheGrade()
    {
        QFETCH(QString, grade);
        QFETCH(QString, caption);
        const auto window = openFor(grade, QStringLiteral("Inglês"));
        QCOMPARE(window->windowTitle(), caption);
    }

    void optionsSwitchBetweenQuizzesAndLessons()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        QVERIFY(control<QRadioButton>(window.get(), "r2")->isChecked());
        const QStringList quizzes = codes({"10", "120", "123", "12A", "200"});
        QCOMPARE(column(window.get(), 0), quizzes);
        QCOMPARE(currentCode(window.get()), QStringLiteral("10"));

        QTest::mouseClick(control<QRadioButton>(window.get(), "r1"), Qt::LeftButton);
        QCOMPARE(column(window.get(), 0), codes({"300", "301"}));
        QCOMPARE(currentCode(window.get()), QStringLiteral("300"));

        grid(window.get())->setCurrentIndex(grid(window.get())->model()->index(1, 0));
        QTest::mouseClick(control<QRadioButton>(window.get(), "r2"), Qt::LeftButton);
        QCOMPARE(column(window.get(), 0), quizzes);
        QCOMPARE(currentCode(window.get()), QStringLiteral("10"));
        QCOMPARE(column(window.get(), 2).first(), QStringLiteral("alphabet"));
    }

    void searchMovesTheSelectionAsTheUserTypes()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        auto* search = control<QLineEdit>(window.get(), "e1");
        // Codes in view order: 10, 120, 123, 12A, 200.
        const struct {
            const char* typed;
            const char* current;
        } steps[] = {{"1", "10"}, {"2", "120"}, {"3", "123"}};
        for (const auto& step : steps) {
            QTest::keyClicks(search, QString::fromLatin1(step.typed));
            QCOMPARE(currentCode(window.get()), QString::fromLatin1(step.current));
        }

        // Clearing the box leaves the selection where it is.
        search->clear();
        QCOMPARE(currentCode(window.get()), QStringLiteral("123"));

        // A word finds the first description that begins with it, whatever its case.
        QTest::keyClicks(search, QStringLiteral("FAM"));
        QCOMPARE(currentCode(window.get()), QStringLiteral("120"));

        // The text stays when the view changes; the selection goes to the first row.
        QTest::mouseClick(control<QRadioButton>(window.get(), "r1"), Qt::LeftButton);
        QCOMPARE(search->text(), QStringLiteral("FAM"));
        QCOMPARE(currentCode(window.get()), QStringLiteral("300"));
    }

    void searchTextsWithApostrophesAreSearchedAsTyped()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        BoxWatch boxes;
        auto* search = control<QLineEdit>(window.get(), "e1");
        for (const char* text : {"d'água", "x' or 'a", "o' 12", "a' and x"})
            search->setText(QString::fromUtf8(text));
        QVERIFY(boxes.boxes().isEmpty());
        QCOMPARE(currentCode(window.get()), QStringLiteral("10"));
    }

    void tabOrderVisitsOnlyTheChosenOption()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const auto tabFrom = [&window](const char* from) {
            control<QWidget>(window.get(), from)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            return QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                               : QString();
        };
        QCOMPARE(tabFrom("DBGrid1"), QStringLiteral("r2"));
        QCOMPARE(tabFrom("r2"), QStringLiteral("e1"));

        QTest::mouseClick(control<QRadioButton>(window.get(), "r1"), Qt::LeftButton);
        QCOMPARE(tabFrom("DBGrid1"), QStringLiteral("r1"));
        QCOMPARE(tabFrom("r1"), QStringLiteral("e1"));
    }

    void clickingARowMakesItTheCurrentRecord()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        QTableView* list = grid(window.get());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(3, 1)).center());
        QCOMPARE(currentCode(window.get()), QStringLiteral("12A"));
        // A search starts from the top of the view, not from the clicked row.
        QTest::keyClicks(control<QLineEdit>(window.get(), "e1"), QStringLiteral("1"));
        QCOMPARE(currentCode(window.get()), QStringLiteral("10"));
    }

    void gridIsReadOnlyAndFixed()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        QTableView* list = grid(window.get());
        QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!list->horizontalHeader()->sectionsClickable());
        QVERIFY(!list->horizontalHeader()->sectionsMovable());
        QCOMPARE(list->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(list->columnWidth(1), 103);
        QCOMPARE(list->columnWidth(2), 331);
        const QStringList titles = codes({"Codigo", "Disciplina", "Descrição", "Categoria"});
        for (int column = 0; column < titles.size(); ++column)
            QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(), titles[column]);

        const int rows = list->model()->rowCount();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(list->model()->rowCount(), rows);
    }

    void doubleClickOpensThePlayerAndStartsOnlyProgramsMarkedS()
    {
        QDir(pasta_prog).mkpath(QStringLiteral("atividades/4A/ing"));
        const QString marker = pasta_prog + QStringLiteral("/ran");
        QFile::remove(marker);
        writeProgram(pasta_prog + QStringLiteral("/atividades/4A/ing/jogo.sh"), marker);
        // The lower-case s entry names a program too; it must not run.
        writeProgram(pasta_prog + QStringLiteral("/atividades/4A/ing/numbers.swf"), marker);

        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        QTableView* list = grid(window.get());

        list->setCurrentIndex(list->model()->index(3, 0)); // 12A, flag "s"
        PlayerSeen seen = doubleClickCurrentRow(window.get());
        QCOMPARE(seen.opened, 1);
        QVERIFY(seen.maximised);
        QVERIFY(!FRMswf);
        QCOMPARE(currentCode(window.get()), QStringLiteral("12A"));
        QTest::qWait(200);
        QVERIFY(!QFile::exists(marker));

        list->setCurrentIndex(list->model()->index(1, 0)); // 120, flag "S"
        seen = doubleClickCurrentRow(window.get());
        QCOMPARE(seen.opened, 1);
        QTRY_VERIFY(QFile::exists(marker));
        QCOMPARE(currentCode(window.get()), QStringLiteral("120"));
    }

    void doubleClickOnTheTitlesOpensTheCurrentRecord()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        PlayersOpened players;
        QTableView* list = grid(window.get());
        QTest::mouseDClick(list->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           QPoint(20, list->viewport()->height() - 3));
        QCOMPARE(players.count, 2);
    }

    void missingCatalogIsReportedAndTheListIsEmpty()
    {
        QFile::remove(pasta_config + QStringLiteral("ketmo.xml"));
        BoxWatch boxes;
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].text,
                 QStringLiteral("cdxtb: Missing data provider or data packet."));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Critical);
        QCOMPARE(grid(window.get())->model()->rowCount(), 0);

        // Each change of the search text reports the closed dataset once.
        control<QLineEdit>(window.get(), "e1")->setText(QStringLiteral("a"));
        control<QLineEdit>(window.get(), "e1")->setText(QStringLiteral("ab"));
        QCOMPARE(boxes.boxes().size(), 3);
        QCOMPARE(boxes.boxes()[2].text,
                 QStringLiteral("cdxtb: Cannot perform this operation on a closed dataset."));

        // A double-click reports the missing field and opens no player.
        PlayersOpened players;
        window->show();
        QTest::mouseDClick(grid(window.get())->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(boxes.boxes().size(), 4);
        QCOMPARE(boxes.boxes()[3].text, QStringLiteral("cdxtb: Field 'executavel' not found."));
        QCOMPARE(players.count, 0);
    }

    void catalogWithoutAFilterFieldListsEverythingUnfiltered()
    {
        QByteArray packet(catalogPacket);
        packet.replace("attrname=\"tipo\"", "attrname=\"kind\"");
        writeCatalog(packet);
        BoxWatch boxes;
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("cdxtb: Field 'tipo' not found."));
        QCOMPARE(grid(window.get())->model()->rowCount(), 9);
        // The record a double-click opens is the one the list marks.
        QCOMPARE(grid(window.get())->currentIndex().row(), 0);
    }

    void onlyTheLeftButtonsDoubleClickOpensTheCurrentRecord()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        PlayersOpened players;
        QTableView* list = grid(window.get());
        const QPoint row = list->visualRect(list->currentIndex()).center();
        for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
            QTest::mouseDClick(list->viewport(), button, {}, row);
            QTest::mouseDClick(list->horizontalHeader()->viewport(), button, {}, QPoint(20, 5));
        }
        QCOMPARE(players.count, 0);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(players.count, 1);
    }

    void returnOnTheListOpensTheCurrentRecord()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        PlayersOpened players;
        QTableView* list = grid(window.get());
        list->setCurrentIndex(list->model()->index(1, 0));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(players.count, 2);
        QCOMPARE(currentCode(window.get()), QStringLiteral("120"));
        // Return in the search box searches; it opens nothing.
        auto* search = control<QLineEdit>(window.get(), "e1");
        search->setFocus();
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(players.count, 2);
    }

    void doubleClickOnAnEmptyListOpensThePlayerOnTheProgramFolder()
    {
        const auto window = openFor(QStringLiteral("1A"), QStringLiteral("Ciências"));
        window->show();
        QCOMPARE(grid(window.get())->model()->rowCount(), 0);
        BoxWatch boxes;
        const PlayerSeen seen = doubleClickCurrentRow(window.get());
        QCOMPARE(seen.opened, 1);
        QVERIFY(boxes.boxes().isEmpty());
    }

    void voltarAndTheCloseBoxCloseTheWindowAndEmptyItsSlot()
    {
        const auto window = openFor(QStringLiteral("4A"), QStringLiteral("Inglês"));
        window->show();
        auto* back = control<TShockwaveFlash>(window.get(), "SWFsair");
        emit back->FSCommand(QStringLiteral("voltar"), QString());
        QVERIFY(window->isVisible());
        emit back->FSCommand(QStringLiteral("Voltar"), QString());
        QVERIFY(!FRMAtividades);
        QTRY_VERIFY(!window.get());
    }
};

QTEST_MAIN(ActivitiesTest)
#include "tst_activities.moc"

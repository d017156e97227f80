// Opening activities on the real engine, under X: the player window plays the chosen movie and
// puts the waiting animation in place of one that cannot be played.
#include "Ativid.h"
#include "ContentFolders.h"
#include "FormsTesting.h"
#include "Swf.h"
#include "TShockwaveFlash.h"
#include "WindowSlots.h"

#include <QTableView>
#include <QTest>

namespace
{

constexpr int frameTimeout = 30000;

const char* const catalogPacket =
    R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>
<FIELD attrname="cod_disp" fieldtype="i4"/><FIELD attrname="cod_web" fieldtype="string" WIDTH="10"/>
<FIELD attrname="serie" fieldtype="string" WIDTH="2"/><FIELD attrname="disciplina" fieldtype="string" WIDTH="20"/>
<FIELD attrname="tipo" fieldtype="string" WIDTH="12"/><FIELD attrname="descricao" fieldtype="string" WIDTH="80"/>
<FIELD attrname="categoria" fieldtype="string" WIDTH="20"/><FIELD attrname="caminho" fieldtype="string" WIDTH="120"/>
<FIELD attrname="executavel" fieldtype="string" WIDTH="1"/></FIELDS><PARAMS/></METADATA><ROWDATA>
<ROW cod_disp="1" cod_web="1" serie="3A" disciplina="Ciências" tipo="quiz" descricao="Ciclo da água" categoria="Quiz" caminho="\Atividades\Ciclo.SWF" executavel="N"/>
<ROW cod_disp="1" cod_web="2" serie="3A" disciplina="Ciências" tipo="quiz" descricao="Sumiu" categoria="Quiz" caminho="\atividades\nao_existe.swf" executavel="N"/>
</ROWDATA></DATAPACKET>)";

void copyDemoFile(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).path());
    QVERIFY2(QFile::copy(QStringLiteral(QUORVANE_DEMO_DIR "/") + from, to), qPrintable(from));
}

// Counts the first frames of the player window's movie from the window's show: the native
// engine may draw one before the modal watch's poll finds the window.
class FirstFrames final : public QObject
{
public:
    FirstFrames() { qApp->installEventFilter(this); }

    [[nodiscard]] bool wait()
    {
        return QTest::qWaitFor([this] { return m_count > 0; }, frameTimeout);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* const window = qobject_cast<TFRMswf*>(watched);
        if (window && event->type() == QEvent::Show)
            connect(window->findChild<TShockwaveFlash*>(QStringLiteral("SWF")),
                    &TShockwaveFlash::firstFrameShown, this, [this] { ++m_count; });
        return QObject::eventFilter(watched, event);
    }

private:
    int m_count = 0;
};

} // namespace

class ActivitiesEngineTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_kit;
    QPointer<TFRMAtividades> m_activities;

    // Double-clicks a row of the list and runs `inside` in the player window's modal loop.
    void openRow(int row,
                 const std::function<void(TFRMswf*, TShockwaveFlash*, FirstFrames&)>& inside)
    {
        bool ran = false;
        FirstFrames firstFrames;
        ModalWatch<TFRMswf> watch([&](TFRMswf* player) {
            inside(player, player->findChild<TShockwaveFlash*>(QStringLiteral("SWF")), firstFrames);
            ran = true;
            player->close();
        });
        auto* list = m_activities->findChild<QTableView*>(QStringLiteral("DBGrid1"));
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualRect(list->currentIndex()).center());
        QVERIFY(ran);
        QVERIFY(!FRMswf);
        QCOMPARE(list->currentIndex().row(), row);
    }

private slots:
    void initTestCase()
    {
        QDir::setCurrent(m_kit.path());
        installFontSubstitutions();
        initialiseFolders();
        copyDemoFile(QStringLiteral("config/aguarde_f1.swf"),
                     pasta_config + QStringLiteral("aguarde_f1.swf"));
        // Stored in other letter case than the catalog names it, as Windows media often are.
        copyDemoFile(QStringLiteral("atividades/3A/cie/ciclo_da_agua_quiz.swf"),
                     pasta_prog + QStringLiteral("/atividades/ciclo.swf"));
        QFile catalog(pasta_config + QStringLiteral("ketmo.xml"));
        QVERIFY(catalog.open(QIODevice::WriteOnly));
        catalog.write(catalogPacket);
        catalog.close();

        SerieAtual = QStringLiteral("3A");
        DisciplinaAtual = QStringLiteral("Ciências");
        m_activities = new TFRMAtividades(nullptr);
        FRMAtividades = m_activities;
        m_activities->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_activities));
    }

    void cleanupTestCase() { delete m_activities.data(); }

    void playsTheChosenMovieFromTheProgramFolder()
    {
        openRow(0, [](TFRMswf* player, TShockwaveFlash* movie, FirstFrames& firstFrames) {
            QCOMPARE(movie->Movie(), pasta_prog + QStringLiteral("/Atividades/Ciclo.SWF"));
            QVERIFY(firstFrames.wait());
            QVERIFY(player->isMaximized());
            // The movie is still the chosen one: the waiting check left it alone.
            QTest::qWait(100);
            QCOMPARE(movie->Movie(), pasta_prog + QStringLiteral("/Atividades/Ciclo.SWF"));
        });
    }

    void aMissingMovieIsReplacedByTheWaitingAnimation()
    {
        openRow(1, [](TFRMswf*, TShockwaveFlash* movie, FirstFrames& firstFrames) {
            QTRY_COMPARE(movie->Movie(), pasta_prog + QStringLiteral("/config/aguarde_f1.swf"));
            QVERIFY(firstFrames.wait());
        });
    }
};

QTEST_MAIN(ActivitiesEngineTest)
#include "e2e_activities.moc"

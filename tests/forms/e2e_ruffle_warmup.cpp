// The activities window readies Ruffle while the child reads a list holding a movie that needs
// it, the player window plays that movie in the page so readied, and the page goes with the
// activities window. A list of movies the program plays itself readies nothing.
#include "Ativid.h"
#include "ContentFolders.h"
#include "FormsTesting.h"
#include "MovieLookahead.h"
#include "RuffleStage.h"
#include "Swf.h"
#include "TShockwaveFlash.h"
#include "WindowSlots.h"

#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace
{

constexpr int warmTimeout = 60000;
constexpr int frameTimeout = 30000;

// Ciências lists a movie with sound tags, which the native engine leaves to Ruffle, after one
// it plays itself; Matemática lists only movies it plays itself.
const char* const catalogPacket =
    R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>
<FIELD attrname="cod_disp" fieldtype="i4"/><FIELD attrname="cod_web" fieldtype="string" WIDTH="10"/>
<FIELD attrname="serie" fieldtype="string" WIDTH="2"/><FIELD attrname="disciplina" fieldtype="string" WIDTH="20"/>
<FIELD attrname="tipo" fieldtype="string" WIDTH="12"/><FIELD attrname="descricao" fieldtype="string" WIDTH="80"/>
<FIELD attrname="categoria" fieldtype="string" WIDTH="20"/><FIELD attrname="caminho" fieldtype="string" WIDTH="120"/>
<FIELD attrname="executavel" fieldtype="string" WIDTH="1"/></FIELDS><PARAMS/></METADATA><ROWDATA>
<ROW cod_disp="1" cod_web="1" serie="3A" disciplina="Ciências" tipo="quiz" descricao="Ciclo da água" categoria="Quiz" caminho="\atividades\ciclo.swf" executavel="N"/>
<ROW cod_disp="1" cod_web="2" serie="3A" disciplina="Ciências" tipo="quiz" descricao="Sons dos animais" categoria="Quiz" caminho="\atividades\sons.swf" executavel="N"/>
<ROW cod_disp="1" cod_web="3" serie="3A" disciplina="Matemática" tipo="quiz" descricao="Adição" categoria="Quiz" caminho="\atividades\adicao.swf" executavel="N"/>
<ROW cod_disp="1" cod_web="4" serie="3A" disciplina="Matemática" tipo="quiz" descricao="Sumiu" categoria="Quiz" caminho="\atividades\nao_existe.swf" executavel="N"/>
</ROWDATA></DATAPACKET>)";

void copyDemoFile(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).path());
    QVERIFY2(QFile::copy(QStringLiteral(QUORVANE_DEMO_DIR "/") + from, to), qPrintable(from));
}

QList<QWidget*> webViewsIn(const QWidget* window)
{
    QList<QWidget*> views;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (qstrcmp(child->metaObject()->className(), "QWebEngineView") == 0)
            views.append(child);
    }
    return views;
}

} // namespace

class RuffleWarmUpTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_kit;

    static TFRMAtividades* openActivities(const QString& subject)
    {
        DisciplinaAtual = subject;
        auto* activities = new TFRMAtividades(nullptr);
        FRMAtividades = activities;
        activities->show();
        return activities;
    }

    static void closeActivities(TFRMAtividades* activities)
    {
        activities->close();
        QCOMPARE(FRMAtividades, nullptr);
    }

private slots:
    void initTestCase()
    {
        qunsetenv("QUORVANE_PLAYER_ENGINE");
        QDir::setCurrent(m_kit.path());
        installFontSubstitutions();
        initialiseFolders();
        copyDemoFile(QStringLiteral("config/aguarde_f1.swf"),
                     pasta_config + QStringLiteral("aguarde_f1.swf"));
        copyDemoFile(QStringLiteral("atividades/3A/cie/ciclo_da_agua_quiz.swf"),
                     pasta_prog + QStringLiteral("/atividades/ciclo.swf"));
        copyDemoFile(QStringLiteral("atividades/3A/cie/sons_dos_animais.swf"),
                     pasta_prog + QStringLiteral("/atividades/sons.swf"));
        copyDemoFile(QStringLiteral("atividades/3A/mat/adicao_com_reserva_quiz.swf"),
                     pasta_prog + QStringLiteral("/atividades/adicao.swf"));
        QFile catalog(pasta_config + QStringLiteral("ketmo.xml"));
        QVERIFY(catalog.open(QIODevice::WriteOnly));
        catalog.write(catalogPacket);
        catalog.close();
        SerieAtual = QStringLiteral("3A");
    }

    void aListOfNativeMoviesReadiesNothing()
    {
        QPointer<TFRMAtividades> activities = openActivities(QStringLiteral("Matemática"));
        auto* lookahead = activities->findChild<player::MovieLookahead*>();
        QVERIFY(lookahead);
        QTRY_VERIFY(lookahead->done());
        QVERIFY(!player::RuffleStage::spareOf(activities));
        QVERIFY(webViewsIn(activities).isEmpty());
        closeActivities(activities);
        QTRY_VERIFY(activities.isNull());
    }

    void theReadiedPageServesThePlayerWindowAndGoesWithTheList()
    {
        QPointer<TFRMAtividades> activities = openActivities(QStringLiteral("Ciências"));
        QTRY_VERIFY_WITH_TIMEOUT(player::RuffleStage::spareOf(activities)
                                     && player::RuffleStage::spareOf(activities)->warm(),
                                 warmTimeout);
        const QList<QWidget*> readied = webViewsIn(activities);
        QCOMPARE(readied.size(), 1);
        const QPointer<QWidget> page = readied.first();
        QVERIFY(!page->isVisible());

        // Twice: the page goes back to the list when the player window closes, for the next.
        for (int open = 0; open < 2; ++open) {
            bool played = false;
            ModalWatch<TFRMswf> watch([&](TFRMswf* player) {
                auto* movie = player->findChild<TShockwaveFlash*>(QStringLiteral("SWF"));
                QSignalSpy firstFrame(movie, &TShockwaveFlash::firstFrameShown);
                QVERIFY(firstFrame.wait(frameTimeout));
                QCOMPARE(movie->Movie(), pasta_prog + QStringLiteral("/atividades/sons.swf"));
                QCOMPARE(webViewsIn(player), QList<QWidget*>{page.data()});
                QVERIFY(page->isVisible());
                played = true;
            });
            auto* list = activities->findChild<QTableView*>(QStringLiteral("DBGrid1"));
            list->setCurrentIndex(list->model()->index(1, 0));
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->visualRect(list->currentIndex()).center());
            QVERIFY(played);
            QTRY_VERIFY(!FRMswf);
            QVERIFY(page);
            QTRY_COMPARE(page->window(), activities.data());
        }

        closeActivities(activities);
        QTRY_VERIFY(activities.isNull());
        QTRY_VERIFY(page.isNull());
    }
};

QTEST_MAIN(RuffleWarmUpTest)
#include "e2e_ruffle_warmup.moc"

#include "Ativid.h"
#include "ContentFolders.h"
#include "FormsTesting.h"
#include "Swf.h"
#include "TShockwaveFlash.h"
#include "WindowSlots.h"

#include <QTest>
#include <QTimer>

// The player window, opened the way the activities window opens it, on content without
// playable movies (so no engine starts).
class PlayerWindowTest final : public QObject
{
    Q_OBJECT

private:
    EmptyProgramFolder m_folder;
    QPointer<TFRMAtividades> m_activities;

    // Opens a player window from the activities window, runs `inside` in its modal loop and
    // closes it, unless `inside` already did.
    void runPlayer(const std::function<void(TFRMswf*)>& inside)
    {
        bool ran = false;
        ModalWatch<TFRMswf> watch([&](TFRMswf* player) {
            inside(player);
            ran = true;
            if (player->isVisible())
                player->close();
        });
        m_activities->Carregar_animacao(pasta_prog + QStringLiteral("/atividades/nada.swf"));
        QVERIFY(ran);
    }

private slots:
    void init()
    {
        initialiseFolders();
        BoxWatch boxes;
        SerieAtual = QStringLiteral("3A");
        DisciplinaAtual = QStringLiteral("Ciências");
        m_activities = new TFRMAtividades(nullptr);
        FRMAtividades = m_activities;
        m_activities->show();
        QVERIFY(boxes.boxes().isEmpty());
    }

    void cleanup()
    {
        delete m_activities.data();
        FRMAtividades = nullptr;
    }

    void opensMaximisedWithTheMovieAboveAnEmptyStrip()
    {
        runPlayer([](TFRMswf* player) {
            QVERIFY(player->isMaximized());
            QVERIFY(player->windowTitle().isEmpty());
            QCOMPARE(FRMswf, player);
            auto* p1 = player->findChild<QWidget*>(QStringLiteral("p1"));
            auto* p2 = player->findChild<QWidget*>(QStringLiteral("p2"));
            auto* movie = player->findChild<TShockwaveFlash*>(QStringLiteral("SWF"));
            QCOMPARE(p2->height(), 41);
            QCOMPARE(p2->geometry().bottom(), player->height() - 1);
            QCOMPARE(p2->width(), player->width());
            QCOMPARE(p1->geometry().bottom() + 1, p2->y());
            QCOMPARE(movie->geometry(), p1->rect().adjusted(1, 1, -1, -1));

            player->resize(800, 500);
            QTRY_COMPARE(p2->geometry().bottom(), player->height() - 1);
            QCOMPARE(p1->height(), player->height() - 41);
        });
    }

    void waitingCheckRunsOnlyWhileShown()
    {
        runPlayer([](TFRMswf* player) {
            auto* timer = player->findChild<QTimer*>(QStringLiteral("Timer1"));
            QCOMPARE(timer->interval(), 20);
            QVERIFY(timer->isActive());
        });
    }

    void aSecondLoadRetargetsTheOpenPlayerInsteadOfOpeningAnother()
    {
        runPlayer([this](TFRMswf* player) {
            m_activities->Carregar_animacao(pasta_config + QStringLiteral("aguarde_f1.swf"));
            QCOMPARE(FRMswf, player);
            QVERIFY(player->isVisible());
            QCOMPARE(m_activities->findChildren<TFRMswf*>().size(), 1);
        });
    }

    void escapeDoesNotCloseButTheCloseBoxDoes()
    {
        QPointer<TFRMswf> closed;
        QPointer<TShockwaveFlash> movie;
        runPlayer([&](TFRMswf* player) {
            QTest::keyClick(player, Qt::Key_Escape);
            QVERIFY(player->isVisible());
            closed = player;
            movie = player->findChild<TShockwaveFlash*>(QStringLiteral("SWF"));
            QVERIFY(player->close());
        });
        QVERIFY(!FRMswf);
        QTRY_VERIFY(!closed);
        QVERIFY(!movie);
        // The activities window is back in charge and can open a new player.
        runPlayer([](TFRMswf* player) { QCOMPARE(FRMswf, player); });
    }

    void waitingAnimationThatIsMissingKeepsTheWindowUsable()
    {
        runPlayer([](TFRMswf* player) {
            auto* movie = player->findChild<TShockwaveFlash*>(QStringLiteral("SWF"));
            const auto objectsBefore = player->findChildren<QObject*>().size();
            // Many ticks with nothing playable: the player keeps reporting no movie, and setting
            // the missing animation again and again builds nothing up.
            QTest::qWait(400);
            QVERIFY(movie->Movie().isEmpty());
            QVERIFY(player->isVisible());
            QCOMPARE(player->findChildren<QObject*>().size(), objectsBefore);
        });
        QVERIFY(!FRMswf);
    }
};

QTEST_MAIN(PlayerWindowTest)
#include "tst_player_window.moc"

#include "TShockwaveFlash.h"
#include "TestMovies.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class PlayerEngineTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void buttonsSendTheirCommands_data();
    void buttonsSendTheirCommands();

private:
    QTemporaryDir m_folder;
};

void PlayerEngineTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QVERIFY(QDir::setCurrent(m_folder.path()));
    QVERIFY(QDir().mkpath(QStringLiteral("config")));
    QVERIFY(testmovies::write(QStringLiteral("config/Sair.swf"),
                              testmovies::button(48, 23, Qt::red, QStringLiteral("Sair"), {})));
    QVERIFY(testmovies::write(QStringLiteral("config/Voltar.swf"),
                              testmovies::button(48, 23, Qt::blue, QStringLiteral("Voltar"), {})));
    QVERIFY(testmovies::write(
        QStringLiteral("config/Ok.swf"),
        testmovies::button(48, 23, Qt::green, QStringLiteral("ok"), QStringLiteral("1 2"))));
}

void PlayerEngineTest::buttonsSendTheirCommands_data()
{
    QTest::addColumn<QString>("movie");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("args");
    QTest::newRow("Sair") << QStringLiteral("Sair.swf") << QStringLiteral("Sair") << QString();
    QTest::newRow("Voltar") << QStringLiteral("Voltar.swf") << QStringLiteral("Voltar")
                            << QString();
    QTest::newRow("Ok") << QStringLiteral("Ok.swf") << QStringLiteral("ok")
                        << QStringLiteral("1 2");
}

void PlayerEngineTest::buttonsSendTheirCommands()
{
    QFETCH(QString, movie);
    QFETCH(QString, command);
    QFETCH(QString, args);

    QWidget window;
    window.resize(200, 100);
    auto* const player = new TShockwaveFlash(&window);
    player->setGeometry(10, 10, 96, 46);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy frames(player, &TShockwaveFlash::firstFrameShown);
    QSignalSpy commands(player, &TShockwaveFlash::FSCommand);
    const QString path = QDir::currentPath() + QStringLiteral("/config/") + movie;
    player->setMovie(path);
    QCOMPARE(player->Movie(), path);
    QVERIFY(frames.wait(30000));
    QTest::qWait(500);
    window.grab().save(QStringLiteral("/tmp/shot-") + movie + QStringLiteral(".png"));
    const QPoint at = player->mapToGlobal(QPoint(48, 23));
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QString::number(at.x()),
                       QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
    QTRY_COMPARE_WITH_TIMEOUT(commands.size(), 1, 5000);
    QCOMPARE(commands.first().at(0).toString(), command);
    QCOMPARE(commands.first().at(1).toString(), args);
}

QTEST_MAIN(PlayerEngineTest)
#include "tst_player_engine.moc"

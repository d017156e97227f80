// The player's own rules, offscreen and without an engine: paths that name no movie, and focus.
#include "TShockwaveFlash.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{

bool anEngineRuns()
{
    const auto widgets = QApplication::allWidgets();
    return std::any_of(widgets.begin(), widgets.end(), [](const QWidget* widget) {
        return qstrcmp(widget->metaObject()->className(), "QWebEngineView") == 0;
    });
}

} // namespace

class PlayerControlTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pathsNamingNoMovieReadBackEmpty_data();
    void pathsNamingNoMovieReadBackEmpty();
    void clickEntersOncePerFocus();
    void tabEnters();

private:
    QTemporaryDir m_folder;
};

void PlayerControlTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    const QDir folder(m_folder.path());
    QVERIFY(folder.mkpath(QStringLiteral("config/movie.swf")));
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"config/text.swf", "FW"},
        {"config/picture.swf", "GIF89a"},
        {"config/lower.swf", "fws\x06"},
        {"config/empty.swf", ""},
    };
    for (const auto& file : files) {
        QFile out(folder.filePath(QString::fromUtf8(file.name)));
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(file.bytes), file.bytes.size());
    }
}

void PlayerControlTest::pathsNamingNoMovieReadBackEmpty_data()
{
    const QString config = m_folder.path() + QStringLiteral("/config/");
    QTest::addColumn<QString>("path");
    QTest::newRow("empty text") << QString();
    QTest::newRow("the configuration folder itself") << config;
    QTest::newRow("the program folder") << m_folder.path();
    QTest::newRow("missing file") << config + QStringLiteral("Sair.swf");
    QTest::newRow("missing folder") << m_folder.path() + QStringLiteral("/CONFIGURACAO/Sair.swf");
    QTest::newRow("folder named like a movie") << config + QStringLiteral("MOVIE.SWF");
    QTest::newRow("shorter than a signature") << config + QStringLiteral("text.swf");
    QTest::newRow("another format") << config + QStringLiteral("picture.swf");
    QTest::newRow("signature in lower case") << config + QStringLiteral("lower.swf");
    QTest::newRow("empty file") << config + QStringLiteral("empty.swf");
}

void PlayerControlTest::pathsNamingNoMovieReadBackEmpty()
{
    QFETCH(QString, path);
    TShockwaveFlash player;
    player.setMovie(path);
    QCOMPARE(player.Movie(), QString());
    QVERIFY(!anEngineRuns());
    player.setMovie(path); // again, as the player window does on every tick
    QCOMPARE(player.Movie(), QString());
}

void PlayerControlTest::clickEntersOncePerFocus()
{
    QWidget window;
    auto* const sink = new QLineEdit(&window);
    auto* const player = new TShockwaveFlash(&window);
    player->setGeometry(0, 40, 161, 135);
    player->setMovie(m_folder.path() + QStringLiteral("/config/"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    sink->setFocus();

    QSignalSpy enters(player, &TShockwaveFlash::OnEnter);
    QTest::mouseClick(player, Qt::LeftButton);
    QCOMPARE(enters.size(), 1);
    QCOMPARE(QApplication::focusWidget(), player);
    QTest::mouseClick(player, Qt::LeftButton);
    QCOMPARE(enters.size(), 1);
    sink->setFocus();
    QTest::mouseClick(player, Qt::LeftButton);
    QCOMPARE(enters.size(), 2);
}

void PlayerControlTest::tabEnters()
{
    QWidget window;
    auto* const sink = new QLineEdit(&window);
    auto* const player = new TShockwaveFlash(&window);
    player->setGeometry(0, 40, 161, 135);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    sink->setFocus();

    QSignalSpy enters(player, &TShockwaveFlash::OnEnter);
    QTest::keyClick(sink, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), player);
    QCOMPARE(enters.size(), 1);
}

QTEST_MAIN(PlayerControlTest)
#include "tst_player_control.moc"

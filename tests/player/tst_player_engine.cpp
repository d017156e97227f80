// The player on a real engine, under X, with the demo's menu movies: real clicks (through
// xdotool, so that Qt and the engine see them exactly as a user's), real frames, real failures.
// It runs twice: with Ruffle forced, and with the native engine the menu movies get.
#include "TShockwaveFlash.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace
{

constexpr int frameTimeout = 30000;
// A click travels through X, Qt, Chromium, Ruffle and the web channel; generous for a busy CI.
constexpr int reportTimeout = 20000;
constexpr int clickAttempts = 5;

QString contentFile(const QString& name)
{
    return QDir::currentPath() + QStringLiteral("/config/") + name;
}

void click(const QWidget* widget)
{
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("mousemove"), QString::number(at.x()),
                       QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
}

// What X shows of the window, not what Qt would paint.
QImage screenshot(const QWidget& window)
{
    return window.screen()->grabWindow(window.winId()).toImage();
}

bool usesRuffle()
{
    return qgetenv("QUORVANE_PLAYER_ENGINE") == "ruffle";
}

int countOf(const QWidgetList& widgets, const char* className)
{
    return static_cast<int>(std::count_if(widgets.begin(), widgets.end(), [className](QWidget* w) {
        return qstrcmp(w->metaObject()->className(), className) == 0;
    }));
}

// The widgets an engine draws with over the window's players.
int engineViews(const QWidget& window)
{
    const QWidgetList children = window.findChildren<QWidget*>();
    return countOf(children, usesRuffle() ? "QWebEngineView" : "player::NativeView");
}

} // namespace

class PlayerEngineTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void buttonsSendTheirCommands();
    void buttonsLightUpUnderTheMouse();
    void clickOnATileEntersItOnce();
    void aClickMayUnloadTheMovieItClicked();
    void unplayableMoviesReadBackEmpty_data();
    void unplayableMoviesReadBackEmpty();
    void screenshotShowsTheMovies();
    void loadingMoviesLeavesTheFocusAlone();

private:
    QTemporaryDir m_folder;
};

void PlayerEngineTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    // The engine serves movies from the program folder, which is the current one here; it holds
    // copies of the demo's movies next to files that are no movies at all.
    QVERIFY(QDir::setCurrent(m_folder.path()));
    QVERIFY(QDir().mkpath(QStringLiteral("config/folder.swf")));
    for (const char* movie : {"Sair.swf", "Voltar.swf", "Ok.swf", "1ano.swf", "2ano.swf",
                              "3ANO.swf", "4ANO.swf", "5ANO.swf", "logo.swf"}) {
        const QString name = QString::fromUtf8(movie);
        QVERIFY2(QFile::copy(QStringLiteral(QUORVANE_DEMO_CONFIG "/") + name, contentFile(name)),
                 movie);
    }
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        {"text.swf", "This is not a movie.\n"},
        {"broken.swf", QByteArray("CWS\x06\x50\x00\x00\x00", 8) + QByteArray(72, '\xee')},
        {"short.swf", QByteArray("FWS\x06\x04\x00\x00\x00", 8)},
    };
    for (const auto& file : files) {
        QFile out(contentFile(QString::fromUtf8(file.name)));
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(file.bytes), file.bytes.size());
    }
}

void PlayerEngineTest::cleanup()
{
    // The native engine plays every menu movie without starting a web engine.
    if (!usesRuffle())
        QCOMPARE(countOf(QApplication::allWidgets(), "QWebEngineView"), 0);
}

void PlayerEngineTest::buttonsSendTheirCommands()
{
    QWidget window;
    window.resize(200, 100);
    auto* const player = new TShockwaveFlash(&window);
    player->setGeometry(10, 10, 48, 23);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const struct {
        const char* movie;
        const char* command;
        const char* args;
    } buttons[] = {{"Sair.swf", "Sair", ""}, {"Voltar.swf", "Voltar", ""}, {"Ok.swf", "ok", ""}};
    // One player, one page: each movie replaces the last, and only its own command arrives.
    for (const auto& button : buttons) {
        QSignalSpy frames(player, &TShockwaveFlash::firstFrameShown);
        QSignalSpy commands(player, &TShockwaveFlash::FSCommand);
        player->setMovie(contentFile(QString::fromUtf8(button.movie)));
        QVERIFY(frames.wait(frameTimeout));
        // On a loaded machine the movie may still be wiring its button when the first picture
        // shows, so a click is repeated until the movie answers, as a user would.
        for (int attempt = 0; attempt < clickAttempts && commands.isEmpty(); ++attempt) {
            click(player);
            commands.wait(reportTimeout / clickAttempts);
        }
        QVERIFY(!commands.isEmpty());
        for (const QList<QVariant>& command : commands) {
            QCOMPARE(command.at(0).toString(), QString::fromUtf8(button.command));
            QCOMPARE(command.at(1).toString(), QString::fromUtf8(button.args));
        }
    }

    // Names are matched without case, and the path reads back exactly as it was set.
    const QString otherCase = contentFile(QStringLiteral("SAIR.SWF"));
    player->setMovie(otherCase);
    QCOMPARE(player->Movie(), otherCase);
    // The folder itself unloads the movie, and with the window's last movie goes its engine.
    QCOMPARE(engineViews(window), 1);
    player->setMovie(QDir::currentPath() + QStringLiteral("/config/"));
    QCOMPARE(player->Movie(), QString());
    QTRY_COMPARE(engineViews(window), 0);
}

void PlayerEngineTest::buttonsLightUpUnderTheMouse()
{
    QWidget window;
    window.resize(200, 100);
    auto* const player = new TShockwaveFlash(&window);
    player->setGeometry(10, 10, 96, 46);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy frames(player, &TShockwaveFlash::firstFrameShown);
    player->setMovie(contentFile(QStringLiteral("Ok.swf")));
    QVERIFY(frames.wait(frameTimeout));

    const auto face = [&] { return screenshot(window).copy(player->geometry()); };
    const auto moveTo = [](const QPoint& at) {
        QProcess::execute(
            QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
    };
    moveTo(window.mapToGlobal(QPoint(150, 80)));
    QTest::qWait(300);
    const QImage up = face();
    moveTo(player->mapToGlobal(player->rect().center()));
    QTRY_VERIFY_WITH_TIMEOUT(face() != up, reportTimeout);
    // Ruffle's page hears nothing once the mouse leaves the players it is masked to, so its
    // buttons stay lit; the native engine's go back to their up state.
    if (usesRuffle())
        return;
    moveTo(window.mapToGlobal(QPoint(150, 80)));
    QTRY_COMPARE_WITH_TIMEOUT(face(), up, reportTimeout);
}

void PlayerEngineTest::clickOnATileEntersItOnce()
{
    QWidget window;
    window.resize(400, 200);
    auto* const sink = new QLineEdit(&window);
    sink->setGeometry(10, 160, 100, 25);
    auto* const first = new TShockwaveFlash(&window);
    first->setGeometry(10, 10, 161, 135);
    auto* const second = new TShockwaveFlash(&window);
    second->setGeometry(200, 10, 161, 135);
    window.show();
    window.activateWindow(); // no window manager under Xvfb does it
    QVERIFY(QTest::qWaitForWindowActive(&window));
    sink->setFocus();

    QSignalSpy firstFrames(first, &TShockwaveFlash::firstFrameShown);
    QSignalSpy secondFrames(second, &TShockwaveFlash::firstFrameShown);
    first->setMovie(contentFile(QStringLiteral("1ano.swf")));
    second->setMovie(contentFile(QStringLiteral("2ano.swf")));
    QVERIFY(firstFrames.wait(frameTimeout));
    QVERIFY(secondFrames.size() == 1 || secondFrames.wait(frameTimeout));

    QSignalSpy firstEnters(first, &TShockwaveFlash::OnEnter);
    QSignalSpy secondEnters(second, &TShockwaveFlash::OnEnter);
    click(first);
    QTRY_COMPARE(firstEnters.size(), 1);
    click(first); // still holds the focus
    QTest::qWait(300);
    QCOMPARE(firstEnters.size(), 1);
    click(second); // the focus moves from one movie to the other within the window's view
    QTRY_COMPARE(secondEnters.size(), 1);
    QCOMPARE(firstEnters.size(), 1);
    sink->setFocus(); // as the menus do after each enter
    click(second);
    QTRY_COMPARE(secondEnters.size(), 2);
    QCOMPARE(firstEnters.size(), 1);

    // The keyboard walks the players in tab order, entering each once, and leaves the movies.
    sink->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(firstEnters.size(), 2);
    if (usesRuffle())
        QTRY_VERIFY(QApplication::focusWidget() != first); // handed on to the movie
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(secondEnters.size(), 3);
    QCOMPARE(firstEnters.size(), 2);
    QTest::qWait(100);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), sink);
    QCOMPARE(firstEnters.size(), 2);
    QCOMPARE(secondEnters.size(), 3);
}

// The menus' confirm: the click that enters a tile unloads the tiles and runs a whole modal
// window before returning, while Qt is still delivering that click to the engine's widget.
void PlayerEngineTest::aClickMayUnloadTheMovieItClicked()
{
    QWidget window;
    window.resize(400, 200);
    auto* const sink = new QLineEdit(&window);
    sink->setGeometry(10, 160, 100, 25);
    auto* const tile = new TShockwaveFlash(&window);
    tile->setGeometry(10, 10, 161, 135);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    sink->setFocus();
    QSignalSpy frames(tile, &TShockwaveFlash::firstFrameShown);
    const QString movie = contentFile(QStringLiteral("3ANO.swf"));
    tile->setMovie(movie);
    QVERIFY(frames.wait(frameTimeout));

    int entered = 0;
    bool widgetsOutlivedTheClick = true;
    connect(tile, &TShockwaveFlash::OnEnter, &window, [&] {
        ++entered;
        QList<QPointer<QWidget>> widgets;
        for (QWidget* widget : window.findChildren<QWidget*>())
            widgets.append(widget);
        sink->setFocus();
        tile->setMovie(QDir::currentPath() + QStringLiteral("/config/"));
        QEventLoop modalLoop; // not qWait, which deletes what waits for the loop's return
        QTimer::singleShot(300, &modalLoop, &QEventLoop::quit);
        modalLoop.exec();
        // Qt goes on delivering the click to the engine's widgets once this handler returns.
        for (const auto& widget : widgets)
            widgetsOutlivedTheClick = widgetsOutlivedTheClick && widget;
        tile->setMovie(movie);
    });
    for (int round = 0; round < 3; ++round) {
        click(tile);
        QTRY_COMPARE(entered, round + 1);
        QTest::qWait(200);
    }
    QVERIFY(widgetsOutlivedTheClick);
    QCOMPARE(tile->Movie(), movie);
    QTRY_COMPARE(engineViews(window), 1);
}

void PlayerEngineTest::unplayableMoviesReadBackEmpty_data()
{
    // None of these reaches an engine: the player reads every movie's header before choosing one.
    QTest::addColumn<QString>("movie");
    QTest::newRow("missing file") << contentFile(QStringLiteral("missing.swf"));
    QTest::newRow("the bare folder") << QDir::currentPath() + QStringLiteral("/config/");
    QTest::newRow("folder named like a movie") << contentFile(QStringLiteral("folder.swf"));
    QTest::newRow("text file") << contentFile(QStringLiteral("text.swf"));
    QTest::newRow("compressed data broken") << contentFile(QStringLiteral("broken.swf"));
    QTest::newRow("header cut short") << contentFile(QStringLiteral("short.swf"));
}

void PlayerEngineTest::unplayableMoviesReadBackEmpty()
{
    QFETCH(QString, movie);

    QWidget window;
    window.setStyleSheet(QStringLiteral("background: white"));
    window.resize(200, 160);
    auto* const player = new TShockwaveFlash(&window);
    player->setGeometry(10, 10, 161, 135);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    player->setMovie(movie);
    QCOMPARE(player->Movie(), QString());
    // Nothing drawn over the player: no error screen, and no engine started.
    QCOMPARE(engineViews(window), 0);
    const QImage shot = screenshot(window);
    for (const QPoint at : {QPoint(20, 20), QPoint(90, 77), QPoint(160, 130)})
        QCOMPARE(shot.pixelColor(at), QColor(Qt::white));
}

void PlayerEngineTest::screenshotShowsTheMovies()
{
    QWidget window;
    window.setStyleSheet(QStringLiteral("background: white"));
    window.resize(300, 200);
    auto* const tile = new TShockwaveFlash(&window);
    tile->setGeometry(10, 10, 161, 135);
    auto* const button = new TShockwaveFlash(&window);
    button->setGeometry(200, 160, 48, 23);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy tileFrames(tile, &TShockwaveFlash::firstFrameShown);
    QSignalSpy buttonFrames(button, &TShockwaveFlash::firstFrameShown);
    tile->setMovie(contentFile(QStringLiteral("1ano.swf")));
    button->setMovie(contentFile(QStringLiteral("Sair.swf")));
    QVERIFY(tileFrames.wait(frameTimeout));
    QVERIFY(buttonFrames.size() == 1 || buttonFrames.wait(frameTimeout));

    // Each movie draws its picture over its player (more than a plain fill), and the window
    // around them stays white.
    const auto colours = [&window](const QRect& area) {
        const QImage shot = screenshot(window);
        QSet<QRgb> found;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                found.insert(shot.pixel(x, y));
        }
        return found;
    };
    QTRY_VERIFY_WITH_TIMEOUT(colours(tile->geometry()).size() >= 3, reportTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(colours(button->geometry()).size() >= 2, reportTimeout);
    const QSet<QRgb> around = colours({185, 20, 100, 120}) + colours({260, 150, 30, 40});
    QCOMPARE(around, QSet<QRgb>{qRgb(255, 255, 255)});
}

void PlayerEngineTest::loadingMoviesLeavesTheFocusAlone()
{
    QWidget window;
    window.resize(790, 300);
    auto* const edit = new QLineEdit(&window);
    edit->setGeometry(10, 270, 100, 25);
    QList<TShockwaveFlash*> players;
    for (int i = 0; i < 8; ++i) {
        auto* const player = new TShockwaveFlash(&window);
        player->setGeometry(10 + (i % 4) * 190, 10 + (i / 4) * 130, 161, 120);
        players.append(player);
    }
    window.show();
    window.activateWindow(); // no window manager under Xvfb does it
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);

    QList<std::shared_ptr<QSignalSpy>> enters;
    int framesLeft = 8;
    // The grade menu's eight.
    const QStringList movies{QStringLiteral("logo.swf"), QStringLiteral("1ano.swf"),
                             QStringLiteral("2ano.swf"), QStringLiteral("3ANO.swf"),
                             QStringLiteral("4ANO.swf"), QStringLiteral("5ANO.swf"),
                             QStringLiteral("Ok.swf"),   QStringLiteral("Sair.swf")};
    for (int i = 0; i < 8; ++i) {
        enters.append(std::make_shared<QSignalSpy>(players[i], &TShockwaveFlash::OnEnter));
        connect(players[i], &TShockwaveFlash::firstFrameShown, &window,
                [&framesLeft] { --framesLeft; });
        players[i]->setMovie(contentFile(movies[i]));
    }
    QTRY_COMPARE_WITH_TIMEOUT(framesLeft, 0, frameTimeout);
    QTest::qWait(300);
    QCOMPARE(QApplication::focusWidget(), edit);
    for (const auto& spy : enters)
        QCOMPARE(spy->size(), 0);
}

QTEST_MAIN(PlayerEngineTest)
#include "tst_player_engine.moc"

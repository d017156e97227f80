#include "RuffleRun.h"

#include "ContentFolders.h"
#include "EngineRuntime.h"
#include "EngineScheme.h"
#include "Probe.h"
#include "TShockwaveFlash.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <memory>

namespace swfcompare
{
namespace
{

constexpr int firstFrameTimeout = 30000; // ms; Ruffle starts in seconds on a busy machine
constexpr int stillTimeout = 15000;      // ms after the expected settling time
constexpr int pollInterval = 100;        // ms between looks at the screen
constexpr int stillLooks = 4;            // equal looks in a row that make a picture still
// Players in one window at most: Chromium opens an audio stream for each, and refuses the 17th.
constexpr std::size_t batchSize = 16;
constexpr int settleMargin = 250;    // ms beyond the settling time before looking
constexpr int commandTimeout = 5000; // ms for the answer to a click
constexpr int graceTime = 300;       // ms for answers beyond those expected
constexpr int gap = 4;               // px between players

// Set on the page before any movie loads: Ruffle's log at "info" level, where the movies' traces
// are, and the device fonts the native engine draws with, so that device text is compared for
// its layout and not for the typeface each engine happens to ship.
const char* const pageSettingsName = "swfcompare-page-settings";
const QString pageSettings =
    QStringLiteral("if (window.RufflePlayer && window.RufflePlayer.config)"
                   " Object.assign(window.RufflePlayer.config, {logLevel: 'info', fontSources: %1,"
                   " defaultFonts: {sans: ['Liberation Sans'], serif: ['Liberation Serif'],"
                   " typewriter: ['Liberation Mono']}});");
const char* const deviceFonts[] = {"LiberationSans-Regular.ttf", "LiberationSerif-Regular.ttf",
                                   "LiberationMono-Regular.ttf"};
const char* const fontFolders[] = {"/usr/share/fonts/truetype/liberation2",
                                   "/usr/share/fonts/truetype/liberation"};

// How the page's console shows a movie's trace output: Ruffle's log line at "info" level from its
// log adapter, the message between the style markers and the styles themselves. The console
// joins the parts with a space, so an empty message leaves a single one.
const QRegularExpression traceLine(
    QStringLiteral("%cINFO%c web/src/log_adapter\\.rs:\\d+%c(?: (.*))? color: whitesmoke; "
                   "background: #444 color: gray; font-style: italic color: inherit$"),
    QRegularExpression::DotMatchesEverythingOption);

QtMessageHandler s_previousHandler = nullptr;
QStringList* s_console = nullptr;

// The page's console goes to the run, everything else where it went before.
void captureConsole(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (s_console && context.category && qstrcmp(context.category, "quorvane.player.page") == 0) {
        s_console->append(message);
        return;
    }
    if (s_previousHandler)
        s_previousHandler(type, context, message);
}

QStringList tracesIn(const QStringList& console)
{
    QStringList traces;
    for (const QString& line : console) {
        const QRegularExpressionMatch match = traceLine.match(line);
        if (match.hasMatch())
            traces.append(match.captured(1));
    }
    return traces;
}

void pause(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

template <typename Condition>
bool waitUntil(Condition condition, int timeout)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeout)
            return false;
        pause(20);
    }
    return true;
}

QImage grab(const QWidget& window)
{
    return window.screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

void moveMouse(QPoint global, bool click)
{
    QStringList arguments{QStringLiteral("mousemove"), QString::number(global.x()),
                          QString::number(global.y())};
    if (click)
        arguments << QStringLiteral("click") << QStringLiteral("1");
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

// Parks the pointer where no player lies.
void moveMouseAway()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    moveMouse(screen.bottomRight(), false);
}

// Watches players until each holds a picture that no longer changes.
class StillWatch final
{
public:
    struct Entry {
        TShockwaveFlash* player = nullptr;
        double settleSeconds = 0;
        bool stopped = false; // the main timeline said it stopped
        QElapsedTimer sinceStop;
        QImage last;
        int equalLooks = 0;
        bool done = false;
        RuffleShot shot;
    };

    // A player whose movie is `shown` already (and stopped) is looked at from now on; else from
    // its first frame and its stop on.
    void add(TShockwaveFlash* player, double settleSeconds, bool shown)
    {
        auto entry = std::make_unique<Entry>();
        entry->player = player;
        entry->settleSeconds = settleSeconds;
        Entry* const raw = entry.get();
        raw->shot.shown = shown;
        raw->stopped = shown;
        if (shown)
            raw->sinceStop.start();
        QObject::connect(player, &TShockwaveFlash::firstFrameShown, &m_context,
                         [raw] { raw->shot.shown = true; });
        QObject::connect(player, &TShockwaveFlash::FSCommand, &m_context,
                         [raw](const QString& command) {
                             if (command == QLatin1String(stopMarker.data(), stopMarker.size())
                                 && !raw->stopped) {
                                 raw->stopped = true;
                                 raw->sinceStop.start();
                             }
                         });
        m_entries.push_back(std::move(entry));
    }

    // Looks until every player is still or the time is up.
    void run(const QWidget& window)
    {
        double longestSettle = 0;
        for (const auto& entry : m_entries)
            longestSettle = std::max(longestSettle, entry->settleSeconds);
        const auto timeout =
            static_cast<int>(firstFrameTimeout + 1000 * longestSettle + stillTimeout);
        QElapsedTimer timer;
        timer.start();
        while (!allDone() && timer.elapsed() < timeout) {
            pause(pollInterval);
            look(grab(window));
        }
        for (const auto& entry : m_entries) {
            if (!entry->done)
                entry->shot.image = entry->last;
        }
    }

    [[nodiscard]] RuffleShot shot(std::size_t index) const { return m_entries[index]->shot; }

private:
    [[nodiscard]] bool allDone() const
    {
        return std::all_of(m_entries.begin(), m_entries.end(),
                           [](const auto& entry) { return entry->done; });
    }

    void look(const QImage& screen)
    {
        for (const auto& entry : m_entries) {
            if (entry->done)
                continue;
            // The engine gave the movie up: the player holds nothing any more.
            if (entry->player->Movie().isEmpty()) {
                entry->done = true;
                entry->shot.shown = false;
                continue;
            }
            if (!entry->shot.shown || !entry->stopped
                || entry->sinceStop.elapsed()
                       < static_cast<qint64>(1000 * entry->settleSeconds) + settleMargin)
                continue;
            const QImage picture = screen.copy(QRect(
                entry->player->mapTo(entry->player->window(), QPoint()), entry->player->size()));
            entry->equalLooks = picture == entry->last ? entry->equalLooks + 1 : 1;
            entry->last = picture;
            if (entry->equalLooks >= stillLooks) {
                entry->done = true;
                entry->shot.still = true;
                entry->shot.image = picture;
            }
        }
    }

    std::vector<std::unique_ptr<Entry>> m_entries;
    QObject m_context; // ends the connections with the watch
};

void showWindow(QWidget& window, const QSize& size)
{
    window.setStyleSheet(QStringLiteral("background: white"));
    window.resize(size);
    window.move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    window.show();
    window.raise();
    waitUntil([&window] { return window.windowHandle() && window.windowHandle()->isExposed(); },
              firstFrameTimeout);
}

} // namespace

RuffleRun::RuffleRun(const QString& contentFolder)
    : m_previousEngine(qgetenv("QUORVANE_PLAYER_ENGINE"))
    , m_hadEngine(qEnvironmentVariableIsSet("QUORVANE_PLAYER_ENGINE"))
    , m_previousProgramFolder(pasta_prog)
{
    qputenv("QUORVANE_PLAYER_ENGINE", "ruffle");
    pasta_prog = contentFolder;
    QLoggingCategory::setFilterRules(QStringLiteral("quorvane.player.page.debug=true"));
    s_console = &m_console;
    s_previousHandler = qInstallMessageHandler(captureConsole);

    // Ruffle reads the fonts from the content folder, like the movies.
    QJsonArray fontUrls;
    QDir(contentFolder).mkpath(QStringLiteral("fonts"));
    for (const char* const font : deviceFonts) {
        const QString copy = contentFolder + QStringLiteral("/fonts/") + QString::fromLatin1(font);
        for (const char* const folder : fontFolders) {
            if (QFile::exists(copy)
                || QFile::copy(QString::fromLatin1(folder) + u'/' + QString::fromLatin1(font),
                               copy))
                break;
        }
        if (const auto url = player::contentUrl(player::runtime::roots(), copy))
            fontUrls.append(url->toString());
    }
    QWebEngineScriptCollection& scripts = *player::runtime::sharedProfile()->scripts();
    for (const QWebEngineScript& old : scripts.find(QString::fromLatin1(pageSettingsName)))
        scripts.remove(old);
    QWebEngineScript script;
    script.setName(QString::fromLatin1(pageSettingsName));
    script.setSourceCode(pageSettings.arg(
        QString::fromUtf8(QJsonDocument(fontUrls).toJson(QJsonDocument::Compact))));
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setWorldId(QWebEngineScript::MainWorld);
    scripts.insert(script);
}

RuffleRun::~RuffleRun()
{
    m_window.reset();
    qInstallMessageHandler(s_previousHandler);
    s_console = nullptr;
    QLoggingCategory::setFilterRules({});
    pasta_prog = m_previousProgramFolder;
    if (m_hadEngine)
        qputenv("QUORVANE_PLAYER_ENGINE", m_previousEngine);
    else
        qunsetenv("QUORVANE_PLAYER_ENGINE");
}

std::vector<TShockwaveFlash*> RuffleRun::playersFor(std::size_t count)
{
    if (!m_window)
        m_window = std::make_unique<QWidget>();
    while (m_players.size() < count) {
        auto* const player = new TShockwaveFlash(m_window.get());
        // The first player is the one clicked at; the others are silent while it plays.
        if (m_players.empty()) {
            QObject::connect(player, &TShockwaveFlash::FSCommand, player,
                             [this](const QString& command, const QString& args) {
                                 if (command != QLatin1String(stopMarker.data(), stopMarker.size()))
                                     m_commands.emplace_back(command, args);
                             });
        }
        m_players.push_back(player);
    }
    // A hidden player's movie is suspended, and its page instance kept for the next movie.
    for (std::size_t i = 0; i < m_players.size(); ++i)
        m_players[i]->setVisible(i < count);
    return {m_players.begin(), m_players.begin() + static_cast<long>(count)};
}

std::vector<RuffleShot> RuffleRun::shoot(const std::vector<RuffleJob>& jobs)
{
    std::vector<RuffleShot> shots(jobs.size());
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    std::size_t next = 0;
    while (next < jobs.size()) {
        // Shelves of players, left to right and top to bottom, as many as the screen holds.
        std::vector<std::pair<std::size_t, QRect>> batch;
        QPoint at(gap, gap);
        int shelfHeight = 0;
        QSize used;
        for (; next < jobs.size(); ++next) {
            const QSize size = jobs[next].size;
            if (at.x() + size.width() + gap > screen.width() && at.x() > gap) {
                at = QPoint(gap, at.y() + shelfHeight + gap);
                shelfHeight = 0;
            }
            if ((at.y() + size.height() + gap > screen.height() || batch.size() == batchSize)
                && !batch.empty())
                break;
            batch.emplace_back(next, QRect(at, size));
            used =
                used.expandedTo(QSize(at.x() + size.width() + gap, at.y() + size.height() + gap));
            at.rx() += size.width() + gap;
            shelfHeight = std::max(shelfHeight, size.height());
        }

        const std::vector<TShockwaveFlash*> players = playersFor(batch.size());
        StillWatch watch;
        for (std::size_t i = 0; i < batch.size(); ++i) {
            players[i]->setGeometry(batch[i].second);
            watch.add(players[i], jobs[batch[i].first].settleSeconds, false);
        }
        showWindow(*m_window, used);
        moveMouseAway();
        for (std::size_t i = 0; i < batch.size(); ++i)
            players[i]->setMovie(jobs[batch[i].first].file);
        watch.run(*m_window);
        for (std::size_t i = 0; i < batch.size(); ++i)
            shots[batch[i].first] = watch.shot(i);
    }
    return shots;
}

RuffleInteraction RuffleRun::interact(const RuffleJob& job, const std::vector<QPoint>& clicks,
                                      const std::vector<int>& expected)
{
    TShockwaveFlash* const player = playersFor(1).front();
    m_commands.clear();
    m_console.clear();
    player->setGeometry(QRect(QPoint(gap, gap), job.size));
    showWindow(*m_window, job.size + QSize(2 * gap, 2 * gap));
    moveMouseAway();

    RuffleInteraction result;
    StillWatch before;
    before.add(player, job.settleSeconds, false);
    player->setMovie(job.file);
    before.run(*m_window);
    result.before = before.shot(0);

    const auto heard = [this] {
        return static_cast<int>(m_commands.size() + tracesIn(m_console).size());
    };
    const auto await = [&heard, &expected](std::size_t index) {
        const int wanted = index < expected.size() ? expected[index] : 0;
        waitUntil([&heard, wanted] { return heard() >= wanted; }, commandTimeout);
        pause(graceTime);
    };
    // The frames' own traces have mostly arrived while the picture settled.
    if (result.before.shown && !expected.empty() && expected.front() > 0)
        await(0);
    for (std::size_t i = 0; i < clicks.size() && result.before.shown; ++i) {
        moveMouse(player->mapToGlobal(clicks[i]), true);
        await(i + 1);
    }

    StillWatch after;
    after.add(player, 0, result.before.shown);
    after.run(*m_window);
    result.after = after.shot(0);
    result.commands = m_commands;
    result.traces = tracesIn(m_console);
    moveMouseAway();
    return result;
}

} // namespace swfcompare

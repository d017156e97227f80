#include "EngineRuntime.h"

#include "ContentFolders.h"
#include "EngineScheme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlScheme>

#include <unistd.h>

#include <memory>

namespace player::runtime
{

namespace
{

// Custom schemes must be known before the application object exists.
void registerEngineScheme()
{
    QWebEngineUrlScheme scheme(engineScheme.toUtf8());
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed
                    | QWebEngineUrlScheme::CorsEnabled
                    | QWebEngineUrlScheme::ContentSecurityPolicyIgnored);
    QWebEngineUrlScheme::registerScheme(scheme);
}
Q_CONSTRUCTOR_FUNCTION(registerEngineScheme)

bool hasRenderNode();

// Linking Qt WebEngine makes the application object create an OpenGL context to share with
// it. Without a GPU that context runs on Mesa's software renderer, whose loading costs every
// start about 0.15 s and 55 MB even when no movie needs Ruffle (the native engine paints with
// QPainter). Ruffle's pages draw without OpenGL there anyway (--disable-gpu).
void skipSoftwareOpenGl()
{
    if (!hasRenderNode() && !qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}
Q_CONSTRUCTOR_FUNCTION(skipSoftwareOpenGl)

std::unique_ptr<QWebEngineProfile> s_profile;

QString switchName(const QString& flag)
{
    return flag.section(u'=', 0, 0);
}

bool hasRenderNode()
{
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("renderD*")}, QDir::System)
                .isEmpty();
}

void prepareProcess()
{
    const bool software = softwareRenderingOnly();
    const QString flags =
        chromiumFlags(qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS"), software);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.toLocal8Bit());
    // Chromium refuses to start its sandbox as root; a normal user keeps it.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Without a GPU, Qt Quick's OpenGL path composes every frame through llvmpipe at about twice
    // the cost of its software renderer.
    if (software && !qEnvironmentVariableIsSet("QT_QUICK_BACKEND")
        && !qEnvironmentVariableIsSet("QSG_RHI_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

QString webChannelScriptSource()
{
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void configure(QWebEngineProfile& profile)
{
    profile.setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile.setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile.installUrlSchemeHandler(engineScheme.toUtf8(),
                                    new EngineSchemeHandler(&roots, &profile));

    QWebEngineSettings& settings = *profile.settings();
    // A page that took the focus when it loads would raise OnEnter and select a tile by itself.
    settings.setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    // The movies' sounds start with the movie, without a click first.
    settings.setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings.setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings.setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings.setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings.setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings.setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings.setAttribute(QWebEngineSettings::PdfViewerEnabled, false);

    QWebEngineScript channel;
    channel.setName(QStringLiteral("qwebchannel"));
    channel.setSourceCode(webChannelScriptSource());
    channel.setInjectionPoint(QWebEngineScript::DocumentCreation);
    channel.setWorldId(QWebEngineScript::MainWorld);
    channel.setRunsOnSubFrames(false);
    profile.scripts()->insert(channel);
}

} // namespace

QWebEngineProfile* sharedProfile()
{
    if (s_profile)
        return s_profile.get();
    prepareProcess();
    s_profile = std::make_unique<QWebEngineProfile>();
    configure(*s_profile);
    // Chromium's own clean-up runs as a post routine too, registered before this one and so run
    // after it: the profile must be gone by then.
    qAddPostRoutine([] { s_profile.reset(); });
    return s_profile.get();
}

QString engineFolder()
{
    // Beside the program in the build tree; in share/ when installed, wherever the prefix is.
    const QString program = QCoreApplication::applicationDirPath();
    for (const QString& folder : {program + QStringLiteral("/engine"),
                                  program + QStringLiteral("/../share/quorvane/engine")}) {
        if (QFileInfo::exists(folder + QStringLiteral("/player.html")))
            return QDir::cleanPath(folder);
    }
    return QStringLiteral(QUORVANE_BUILD_ENGINE_FOLDER);
}

EngineRoots roots()
{
    return {engineFolder(), pasta_prog.isEmpty() ? QDir::currentPath() : pasta_prog};
}

QString chromiumFlags(const QString& userFlags, bool softwareRendering)
{
    QStringList flags = userFlags.split(u' ', Qt::SkipEmptyParts);
    QStringList given;
    for (const QString& flag : std::as_const(flags))
        given.append(switchName(flag));

    QStringList ours{
        // All pages come from one site, so one renderer process serves every player.
        QStringLiteral("--process-per-site"),
        QStringLiteral("--autoplay-policy=no-user-gesture-required"),
        // Ruffle's 14 MB of WebAssembly: the baseline compiler alone starts it about twice as
        // fast, and the menus' movies need none of the optimised code.
        QStringLiteral("--js-flags=--liftoff-only"),
    };
    if (softwareRendering)
        ours.append(QStringLiteral("--disable-gpu"));
    for (const QString& flag : std::as_const(ours)) {
        if (!given.contains(switchName(flag)))
            flags.append(flag);
    }
    return flags.join(u' ');
}

bool softwareRenderingOnly()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")
        || !hasRenderNode())
        return true;
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface))
        return true;
    const auto* renderer =
        reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QString name = QString::fromLatin1(renderer ? renderer : "").toLower();
    context.doneCurrent();
    return name.isEmpty() || name.contains(QLatin1String("llvmpipe"))
           || name.contains(QLatin1String("softpipe")) || name.contains(QLatin1String("swrast"))
           || name.contains(QLatin1String("software"));
}

} // namespace player::runtime

#include "EngineScheme.h"

#include "ContentPath.h"

#include <QFile>
#include <QFileInfo>
#include <QWebEngineUrlRequestJob>

namespace player
{

namespace
{

const QString host = QStringLiteral("local");
const QString engineArea = QStringLiteral("engine");
const QString contentArea = QStringLiteral("content");

QString canonicalFolder(const QString& folder)
{
    return folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
}

// `path` relative to `root`, both canonical, or nothing when `path` is not strictly below it.
std::optional<QString> relativeBelow(const QString& root, const QString& path)
{
    if (root.isEmpty() || path.isEmpty())
        return std::nullopt;
    const QString prefix = root.endsWith(u'/') ? root : root + u'/';
    if (!path.startsWith(prefix) || path.size() == prefix.size())
        return std::nullopt;
    return path.mid(prefix.size());
}

QUrl urlFor(const QString& area, const QString& relativePath)
{
    QUrl url;
    url.setScheme(engineScheme);
    url.setHost(host);
    url.setPath(u'/' + area + u'/' + relativePath, QUrl::DecodedMode);
    return url;
}

QByteArray mimeTypeOf(const QString& file)
{
    if (file.endsWith(QLatin1String(".wasm")))
        return QByteArrayLiteral("application/wasm");
    if (file.endsWith(QLatin1String(".js")))
        return QByteArrayLiteral("text/javascript");
    if (file.endsWith(QLatin1String(".html")))
        return QByteArrayLiteral("text/html");
    if (file.endsWith(QLatin1String(".swf"), Qt::CaseInsensitive))
        return QByteArrayLiteral("application/x-shockwave-flash");
    return QByteArrayLiteral("application/octet-stream");
}

} // namespace

QUrl engineUrl(const QString& relativePath)
{
    return urlFor(engineArea, relativePath);
}

std::optional<QUrl> contentUrl(const EngineRoots& roots, const QString& filePath)
{
    const auto relative =
        relativeBelow(canonicalFolder(roots.content), QFileInfo(filePath).canonicalFilePath());
    if (!relative)
        return std::nullopt;
    return urlFor(contentArea, *relative);
}

std::optional<QString> fileForUrl(const EngineRoots& roots, const QUrl& url)
{
    if (url.scheme() != engineScheme || url.host() != host)
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    const qsizetype areaEnd = path.indexOf(u'/', 1);
    if (!path.startsWith(u'/') || areaEnd < 0)
        return std::nullopt;
    const QString area = path.mid(1, areaEnd - 1);
    const QString relative = path.mid(areaEnd + 1);

    QString root;
    if (area == engineArea)
        root = canonicalFolder(roots.engine);
    else if (area == contentArea)
        root = canonicalFolder(roots.content);
    if (root.isEmpty())
        return std::nullopt;

    // Refused before touching the disk; the canonical check below also catches links.
    for (const QString& segment : relative.split(u'/')) {
        if (segment.isEmpty() || segment == QLatin1String(".") || segment == QLatin1String("..")
            || segment.contains(QChar(0)))
            return std::nullopt;
    }
    const QString joined = root + u'/' + relative;
    const QFileInfo file(area == contentArea ? resolveContentPath(joined) : joined);
    if (!file.isFile() || !relativeBelow(root, file.canonicalFilePath()))
        return std::nullopt;
    return file.canonicalFilePath();
}

EngineSchemeHandler::EngineSchemeHandler(std::function<EngineRoots()> roots, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent)
    , m_roots(std::move(roots))
{
}

void EngineSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job)
{
    if (job->requestMethod() != QByteArrayLiteral("GET")) {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const auto file = fileForUrl(m_roots(), job->requestUrl());
    if (!file) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // The job owns the file: the engine reads it on its own thread until the job is gone.
    auto* const reply = new QFile(*file, job);
    if (!reply->open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::RequestFailed);
        return;
    }
    job->reply(mimeTypeOf(*file), reply);
}

} // namespace player

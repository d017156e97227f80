#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

#include <functional>
#include <optional>

namespace player
{

// The only two folder trees the engine's page may read from.
struct EngineRoots {
    QString engine;  // the page and Ruffle's files
    QString content; // the program folder: every movie the program plays lies below it
};

// The page, Ruffle and the movies are served under one scheme and one host, so that they share
// one origin and Ruffle's requests need no cross-origin headers (which Qt 6.4 cannot send).
inline const QString engineScheme = QStringLiteral("quorvane-player");

// The URL of a file of the engine folder, e.g. "player.html".
[[nodiscard]] QUrl engineUrl(const QString& relativePath);

// The URL of a movie file, or nothing when the file does not lie below the content root.
[[nodiscard]] std::optional<QUrl> contentUrl(const EngineRoots& roots, const QString& filePath);

// The regular file a request names, or nothing when it names anything outside the two roots:
// ".." or empty segments, absolute paths, links that lead out, other schemes or hosts.
// Names below the content root are matched without case, as every content path is.
[[nodiscard]] std::optional<QString> fileForUrl(const EngineRoots& roots, const QUrl& url);

// Answers the page's requests from the two roots, which it reads afresh for every request: the
// content root is the program folder, known only once the main window has formed it.
class EngineSchemeHandler final : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    explicit EngineSchemeHandler(std::function<EngineRoots()> roots, QObject* parent = nullptr);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    std::function<EngineRoots()> m_roots;
};

} // namespace player

#include "ContentPath.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace
{

std::optional<QString> matchWithoutCase(const QString& folder, const QString& name)
{
    const QString exact = folder + name;
    if (QFileInfo::exists(exact))
        return exact;

    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    std::optional<QString> best;
    const auto entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0 && (!best || entry < *best))
            best = entry;
    }
    if (!best)
        return std::nullopt;
    return folder + *best;
}

} // namespace

QString resolveContentPath(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;

    const QChar separator = QDir::separator();
    const auto components = path.split(separator);
    QString resolved = path.startsWith(separator) ? QString(separator) : QString();
    for (qsizetype i = 0; i < components.size(); ++i) {
        const QString& component = components[i];
        if (component.isEmpty() || component == QLatin1String("."))
            continue;
        const auto match = component == QLatin1String("..") ? std::optional(resolved + component)
                                                            : matchWithoutCase(resolved, component);
        if (!match)
            return path;
        resolved = *match;
        if (i + 1 < components.size())
            resolved += separator;
    }
    return resolved;
}

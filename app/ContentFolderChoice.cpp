#include "ContentFolderChoice.h"

#include "ContentPath.h"
#include "ErrorReporting.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

ContentFolderChoice::ContentFolderChoice(QString remembered, QString startingPoint, Asking asking)
    : m_remembered(std::move(remembered))
    , m_startingPoint(std::move(startingPoint))
    , m_asking(std::move(asking))
{
}

bool ContentFolderChoice::holdsContent(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return QFileInfo(resolveContentPath(QDir(folder).filePath(QStringLiteral("config")))).isDir();
}

QString ContentFolderChoice::refusal(const QString& folder)
{
    return QStringLiteral("A pasta \"%1\" não tem conteúdo: falta a pasta \"config\".")
        .arg(QDir::toNativeSeparators(folder));
}

std::optional<QString> ContentFolderChoice::choose(const QStringList& arguments,
                                                   const QString& currentFolder) const
{
    QCommandLineParser parser;
    const QCommandLineOption content(QStringLiteral("content"),
                                     QStringLiteral("The folder of the content to show."),
                                     QStringLiteral("folder"));
    parser.addOption(content);
    parser.parse(arguments);
    if (parser.isSet(content)) {
        const QString folder = QDir(currentFolder).absoluteFilePath(parser.value(content));
        if (holdsContent(folder))
            return QDir::cleanPath(folder);
        m_asking.refuse(refusal(folder));
        return std::nullopt;
    }
    if (holdsContent(currentFolder))
        return currentFolder;
    if (holdsContent(m_remembered))
        return m_remembered;
    return ask();
}

std::optional<QString> ContentFolderChoice::ask() const
{
    QString start = m_startingPoint;
    while (const auto picked = m_asking.pickFolder(start)) {
        if (holdsContent(*picked))
            return QDir::cleanPath(*picked);
        m_asking.refuse(refusal(*picked));
        start = *picked;
    }
    return std::nullopt;
}

namespace
{

const QString rememberedKey = QStringLiteral("contentFolder");

// The demo content an installed program ships, where a first choice most likely starts.
QString installedDemo()
{
    const QString demo =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quorvane/demo");
    return QFileInfo(demo).isDir() ? QDir::cleanPath(demo) : QDir::homePath();
}

} // namespace

bool enterContentFolder(const QStringList& arguments)
{
    QSettings settings;
    const ContentFolderChoice choice(
        settings.value(rememberedKey).toString(), installedDemo(),
        {.pickFolder = [](const QString& start) -> std::optional<QString> {
             const QString folder = QFileDialog::getExistingDirectory(
                 nullptr, QStringLiteral("Escolha a pasta do conteúdo"), start);
             if (folder.isEmpty())
                 return std::nullopt;
             return folder;
         },
         .refuse =
             [](const QString& message) {
                 QMessageBox::warning(
                     nullptr, applicationTitle(QCoreApplication::applicationFilePath()), message);
             }});
    const QString current = QDir::currentPath();
    const auto folder = choice.choose(arguments, current);
    if (!folder)
        return false;
    if (*folder != current)
        settings.setValue(rememberedKey, *folder);
    return QDir::setCurrent(*folder);
}

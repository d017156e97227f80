#include "ContentFolders.h"

#include <QDir>

QString pasta_prog;
QString pasta_config;

void initialiseFolders()
{
    pasta_prog = QDir::currentPath();
    pasta_config = configFolderOf(pasta_prog);
}

QString mapSeparators(QString path)
{
#ifdef Q_OS_WIN
    return path;
#else
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
}

QString configFolderOf(const QString& programFolder)
{
    return programFolder + mapSeparators(QStringLiteral("\\config\\"));
}

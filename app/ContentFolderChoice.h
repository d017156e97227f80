#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Where the program finds its content when it is not started from the content folder itself,
// as it is from a desktop menu. The first rule that gives a folder holding "config" wins:
// "--content FOLDER"; the current folder; the folder remembered from the last run; a folder
// the user picks. The chosen folder then becomes the current one, so the content is read from
// the program's current folder as always.
class ContentFolderChoice final
{
public:
    struct Asking {
        // Asks for a folder, starting at `start`; nothing when the user cancels.
        std::function<std::optional<QString>(const QString& start)> pickFolder;
        // Tells the user that a folder cannot be used.
        std::function<void(const QString& message)> refuse;
    };

    ContentFolderChoice(QString remembered, QString startingPoint, Asking asking);

    // The content folder for these command-line arguments (the program's name first), or
    // nothing when the program should end: the user cancelled, or --content named a folder
    // without content.
    [[nodiscard]] std::optional<QString> choose(const QStringList& arguments,
                                                const QString& currentFolder) const;

    // Whether `folder` holds a "config" folder, its name in any case.
    [[nodiscard]] static bool holdsContent(const QString& folder);
    // The text that refuses `folder`.
    [[nodiscard]] static QString refusal(const QString& folder);

private:
    [[nodiscard]] std::optional<QString> ask() const;

    QString m_remembered;
    QString m_startingPoint;
    Asking m_asking;
};

// Chooses the content folder for this run and makes it the current folder: asks with a folder
// chooser when no rule gives one, remembers what the user chose, and tells the user when a
// folder cannot be used. False when the program should end.
[[nodiscard]] bool enterContentFolder(const QStringList& arguments);

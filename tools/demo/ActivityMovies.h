#pragma once

#include "swfwriter/Types.h"

#include <QString>
#include <QStringList>

#include <filesystem>

class Artwork;

// The activities the catalog points at: lessons (an explanation in steps), quizzes (answer
// buttons with right and wrong feedback), title cards for activities without their own
// material, and a small activity program.
class ActivityMovies final
{
public:
    explicit ActivityMovies(const Artwork& art);

    void lesson(const std::filesystem::path& file, const QString& title, const QString& topic,
                const QStringList& steps, swfwriter::Rgba colour) const;
    // `right` is the index of the right answer.
    void quiz(const std::filesystem::path& file, const QString& title, const QString& question,
              const QStringList& answers, int right, swfwriter::Rgba colour) const;
    // A chime makes a movie with sound tags, which the program's own engine leaves to Ruffle.
    enum class Sound { None, Chime };
    void card(const std::filesystem::path& file, const QString& title, const QString& topic,
              swfwriter::Rgba colour, Sound sound = Sound::None) const;
    // A shell script that shows a harmless message window and writes nothing.
    static void program(const std::filesystem::path& file, const QString& title);

private:
    const Artwork& m_art;
};

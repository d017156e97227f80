#include "ActivityMovies.h"

#include "Artwork.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Shape.h"

#include <cmath>
#include <fstream>
#include <numbers>
#include <stdexcept>

using swfwriter::ColorTransform;
using swfwriter::Matrix;
using swfwriter::Rgba;

namespace
{

constexpr double width = 640;
constexpr double height = 480;
constexpr double frameRate = 20;

double wave(int frame, int period, double phase = 0)
{
    return std::sin(2 * std::numbers::pi * (frame / static_cast<double>(period) + phase));
}

// Stage, title strip and topic line (or question) every activity starts with, at depths 1 to 3.
swfwriter::Movie stage(const Artwork& art, const QString& title, const QString& topic, Rgba colour,
                       double topicSize = 16)
{
    swfwriter::Movie movie(width, height, frameRate, Artwork::lighter(colour, 0.88));
    const swfwriter::CharacterId strip =
        art.panel(movie, width - 20, 70, 16, Artwork::lighter(colour, 0.35), colour,
                  Artwork::darker(colour, 0.4));
    const swfwriter::CharacterId titleText =
        art.text(movie, title, 30, Rgba::hex(0xffffff), width - 60);
    const swfwriter::CharacterId topicText =
        art.text(movie, topic, topicSize, Artwork::darker(colour, 0.45), width - 60);
    swfwriter::Timeline& t = movie.timeline();
    t.place(1, strip, Matrix::translation(10, 10));
    t.place(2, titleText, Matrix::translation(width / 2, 45));
    t.place(3, topicText, Matrix::translation(width / 2, 100));
    return movie;
}

// Half a second of a soft bell (880 Hz, fading out).
std::vector<std::int16_t> chime()
{
    constexpr int rate = 22050;
    std::vector<std::int16_t> samples(rate / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        samples[i] = static_cast<std::int16_t>(6000 * std::exp(-6 * t)
                                               * std::sin(2 * std::numbers::pi * 880 * t));
    }
    return samples;
}

// A looping scene of a ball bouncing under a turning star: the lesson's illustration.
swfwriter::CharacterId illustration(swfwriter::Movie& movie, const Artwork& art, Rgba colour)
{
    const swfwriter::CharacterId ball = art.ball(movie, 26, colour);
    const swfwriter::CharacterId star = art.star(movie, 22, Rgba::hex(0xffc83c));
    swfwriter::Shape ground;
    ground.setFill(ground.addFill(swfwriter::Fill::radial(
        {0, 0}, 60, {{0, Rgba::hex(0x000000, 90)}, {1, Rgba::hex(0x000000, 0)}})));
    ground.ellipse({0, 0}, 60, 10);
    const swfwriter::CharacterId shadow = movie.define(ground);
    swfwriter::Timeline sprite;
    constexpr int frames = 30;
    for (int f = 0; f < frames; ++f) {
        const double lift = std::abs(wave(f, frames * 2));
        const Matrix ballAt = Matrix::translation(0, 40 - 90 * lift);
        // Squashed a little where it lands.
        Matrix squash = ballAt;
        squash.scaleX = lift < 0.15 ? 1.12 : 1;
        squash.scaleY = lift < 0.15 ? 0.88 : 1;
        const Matrix starAt = Matrix::placed(0, -110, 1, f * 12);
        const auto shade = std::optional<ColorTransform>(ColorTransform::alpha(1 - 0.6 * lift));
        if (f == 0) {
            sprite.place(1, shadow, Matrix::translation(0, 68), shade);
            sprite.place(2, ball, squash);
            sprite.place(3, star, starAt);
        } else {
            sprite.move(1, Matrix::translation(0, 68), shade);
            sprite.move(2, squash);
            sprite.move(3, starAt);
        }
        sprite.showFrame();
    }
    return movie.define(sprite);
}

} // namespace

ActivityMovies::ActivityMovies(const Artwork& art)
    : m_art(art)
{
}

void ActivityMovies::lesson(const std::filesystem::path& file, const QString& title,
                            const QString& topic, const QStringList& steps, Rgba colour) const
{
    swfwriter::Movie movie = stage(m_art, title, topic, colour);
    const swfwriter::CharacterId scene = illustration(movie, m_art, colour);
    std::vector<swfwriter::CharacterId> stepTexts;
    for (const QString& step : steps)
        stepTexts.push_back(m_art.text(movie, step, 18, Artwork::darker(colour, 0.5), 360,
                                       swfwriter::GlyphOutline::Anchor::LeftCentre));
    const swfwriter::CharacterId bullet = m_art.ball(movie, 9, colour);
    swfwriter::Actions again;
    again.gotoAndPlay(1);
    const swfwriter::CharacterId replay =
        m_art.pushButton(movie, QStringLiteral("Ver de novo"), 150, 40, colour, again);

    swfwriter::Timeline& t = movie.timeline();
    t.place(4, scene, Matrix::translation(130, 330));
    t.showFrame();
    // Each step slides in from the right and fades in, then stays while the next one comes.
    constexpr int stepFrames = 40;
    constexpr int slide = 12;
    for (std::size_t s = 0; s < stepTexts.size(); ++s) {
        const double y = 200 + 80 * static_cast<double>(s);
        const auto textDepth = static_cast<std::uint16_t>(10 + 2 * s);
        const auto bulletDepth = static_cast<std::uint16_t>(11 + 2 * s);
        for (int f = 0; f < stepFrames; ++f) {
            const double progress = std::min(1.0, f / double(slide));
            const Matrix at = Matrix::translation(255 + 120 * (1 - progress), y);
            const auto fade = std::optional<ColorTransform>(ColorTransform::alpha(progress));
            if (f == 0) {
                t.place(textDepth, stepTexts[s], at, fade);
                t.place(bulletDepth, bullet, Matrix::translation(238, y));
            } else if (f <= slide) {
                t.move(textDepth, at, fade);
            }
            t.showFrame();
        }
    }
    t.place(30, replay, Matrix::translation(width - 170, height - 56));
    t.actions(swfwriter::Actions().stop());
    t.showFrame();
    movie.save(file, swfwriter::Compression::None);
}

void ActivityMovies::quiz(const std::filesystem::path& file, const QString& title,
                          const QString& question, const QStringList& answers, int right,
                          Rgba colour) const
{
    if (right < 0 || right >= answers.size())
        throw std::invalid_argument("quiz " + file.string() + ": no such right answer");
    swfwriter::Movie movie = stage(m_art, title, question, colour, 22);
    std::vector<swfwriter::CharacterId> answerButtons;
    for (int i = 0; i < answers.size(); ++i) {
        swfwriter::Actions choose;
        choose.gotoAndPlay(i == right ? "certo" : "errado");
        const QString label = QString(QChar(u'A' + i)) + QStringLiteral(") ") + answers[i];
        answerButtons.push_back(m_art.pushButton(movie, label, 440, 54, colour, choose));
    }
    const swfwriter::CharacterId star = m_art.star(movie, 70, Rgba::hex(0xffc83c));
    const swfwriter::CharacterId praise =
        m_art.text(movie, QStringLiteral("Muito bem!"), 44, Rgba::hex(0x2e9e4f));
    const swfwriter::CharacterId cross = [&] {
        swfwriter::Shape shape;
        shape.setFill(shape.addFill(swfwriter::Fill::linear(
            {-50, -50}, {50, 50}, {{0, Rgba::hex(0xff7a6a)}, {1, Rgba::hex(0xc0302a)}})));
        shape.polygon({{-50, -36},
                       {-36, -50},
                       {0, -14},
                       {36, -50},
                       {50, -36},
                       {14, 0},
                       {50, 36},
                       {36, 50},
                       {0, 14},
                       {-36, 50},
                       {-50, 36},
                       {-14, 0}});
        return movie.define(shape);
    }();
    const swfwriter::CharacterId retry =
        m_art.text(movie, QStringLiteral("Tente de novo!"), 40, Rgba::hex(0xc8302a));
    swfwriter::Actions toQuestion;
    toQuestion.gotoAndStop("pergunta");
    const swfwriter::CharacterId back =
        m_art.pushButton(movie, QStringLiteral("Voltar à pergunta"), 220, 44, colour, toQuestion);

    swfwriter::Timeline& t = movie.timeline();
    t.label("pergunta");
    for (std::size_t i = 0; i < answerButtons.size(); ++i)
        t.place(static_cast<std::uint16_t>(10 + i), answerButtons[i],
                Matrix::translation(100, 160 + 72 * static_cast<double>(i)));
    t.actions(swfwriter::Actions().stop());
    t.showFrame();

    // Right answer: the star grows and turns, the praise pops in, then a way back.
    constexpr int feedbackFrames = 16;
    t.label("certo");
    for (std::size_t i = 0; i < answerButtons.size(); ++i)
        t.remove(static_cast<std::uint16_t>(10 + i));
    for (int f = 0; f < feedbackFrames; ++f) {
        const double grow = std::min(1.0, (f + 1) / 10.0);
        const Matrix starAt = Matrix::placed(width / 2, 240, grow, f * 9);
        const Matrix praiseAt = Matrix::placed(width / 2, 360, 0.6 + 0.4 * grow);
        if (f == 0) {
            t.place(20, star, starAt);
            t.place(21, praise, praiseAt);
        } else {
            t.move(20, starAt);
            t.move(21, praiseAt);
        }
        if (f == feedbackFrames - 1) {
            t.place(22, back, Matrix::translation(width / 2 - 110, 410));
            t.actions(swfwriter::Actions().stop());
        }
        t.showFrame();
    }

    // Wrong answer: a red cross shakes, then the same way back.
    t.label("errado");
    for (std::uint16_t depth = 20; depth <= 22; ++depth)
        t.remove(depth);
    for (int f = 0; f < feedbackFrames; ++f) {
        const double shake = f < 10 ? 14 * wave(f, 5) * (1 - f / 10.0) : 0;
        const Matrix crossAt = Matrix::translation(width / 2 + shake, 240);
        const Matrix retryAt = Matrix::translation(width / 2 + shake / 2, 360);
        if (f == 0) {
            t.place(30, cross, crossAt);
            t.place(31, retry, retryAt);
        } else {
            t.move(30, crossAt);
            t.move(31, retryAt);
        }
        if (f == feedbackFrames - 1) {
            t.place(32, back, Matrix::translation(width / 2 - 110, 410));
            t.actions(swfwriter::Actions().stop());
        }
        t.showFrame();
    }
    movie.save(file, swfwriter::Compression::None);
}

void ActivityMovies::card(const std::filesystem::path& file, const QString& title,
                          const QString& topic, Rgba colour, Sound sound) const
{
    swfwriter::Movie movie = stage(m_art, title, topic, colour);
    if (sound == Sound::Chime)
        movie.timeline().startSound(movie.defineSound(chime()));
    const swfwriter::CharacterId scene = illustration(movie, m_art, colour);
    const swfwriter::CharacterId note = m_art.text(
        movie, QStringLiteral("Atividade de demonstração"), 18, Artwork::darker(colour, 0.3));
    swfwriter::Timeline& t = movie.timeline();
    t.place(4, scene, Matrix::translation(width / 2, 300));
    constexpr int frames = 60;
    for (int f = 0; f < frames; ++f) {
        const auto fade =
            std::optional<ColorTransform>(ColorTransform::alpha(0.65 + 0.35 * wave(f, frames)));
        if (f == 0)
            t.place(5, note, Matrix::translation(width / 2, 440), fade);
        else
            t.move(5, Matrix::translation(width / 2, 440), fade);
        t.showFrame();
    }
    movie.save(file, swfwriter::Compression::None);
}

void ActivityMovies::program(const std::filesystem::path& file, const QString& title)
{
    // xmessage draws with a core X font, which may lack accented letters: keep the window text
    // plain ASCII and put the title in the echo for terminals.
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "#!/bin/sh\n"
           "# Demo activity program: shows the time in a small window for ten seconds.\n"
           "# It reads and writes no files.\n"
           "now=$(date +%H:%M)\n"
           "if command -v xmessage >/dev/null 2>&1 && [ -n \"${DISPLAY:-}\" ]; then\n"
           "    exec xmessage -center -timeout 10 \"Hora da turma: $now\"\n"
           "fi\n"
           "echo \""
        << title.toStdString() << ": $now\"\n";
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
    using std::filesystem::perms;
    std::filesystem::permissions(file, perms::owner_all | perms::group_read | perms::group_exec
                                           | perms::others_read | perms::others_exec);
}

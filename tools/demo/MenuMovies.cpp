#include "MenuMovies.h"

#include "Artwork.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Shape.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <vector>

using swfwriter::ColorTransform;
using swfwriter::Matrix;
using swfwriter::Rgba;

namespace
{

constexpr double frameRate = 20;
// Menu loops last three seconds.
constexpr int loopFrames = 60;
// The colour of the panels the tiles sit on, so the stage edge does not show.
constexpr Rgba tileGround = Rgba::hex(0xdbf8f9);

double wave(int frame, int period, double phase = 0)
{
    return std::sin(2 * std::numbers::pi * (frame / static_cast<double>(period) + phase));
}

// A sprite of one star that grows and shrinks on its own loop, for twinkles.
swfwriter::CharacterId twinkle(swfwriter::Movie& movie, const Artwork& art, double radius,
                               Rgba colour)
{
    const swfwriter::CharacterId star = art.star(movie, radius, colour);
    swfwriter::Timeline sprite;
    constexpr int frames = 20;
    for (int f = 0; f < frames; ++f) {
        const double scale = 0.55 + 0.45 * (0.5 + 0.5 * wave(f, frames));
        const Matrix matrix = Matrix::placed(0, 0, scale, f * 6);
        if (f == 0)
            sprite.place(1, star, matrix);
        else
            sprite.move(1, matrix);
        sprite.showFrame();
    }
    return movie.define(sprite);
}

} // namespace

MenuMovies::MenuMovies(const Artwork& art, std::filesystem::path folder)
    : m_art(art)
    , m_folder(std::move(folder))
{
}

void MenuMovies::writeAll() const
{
    logo();
    button("Ok.swf", QStringLiteral("Ok"), "ok", Rgba::hex(0x2e9e4f));
    button("Sair.swf", QStringLiteral("Sair"), "Sair", Rgba::hex(0xc83a3a));
    button("Voltar.swf", QStringLiteral("Voltar"), "Voltar", Rgba::hex(0xe0861e));
    yearTile("1ano.swf", 1, Rgba::hex(0xf0a020));
    yearTile("2ano.swf", 2, Rgba::hex(0x3fae49));
    yearTile("3ANO.swf", 3, Rgba::hex(0x2f7fd0));
    yearTile("4ANO.swf", 4, Rgba::hex(0xb04ac0));
    yearTile("5ANO.swf", 5, Rgba::hex(0xe0483a));
    subjectTile("efmat.swf", QStringLiteral("Matemática"), Emblem::Arithmetic, Rgba::hex(0x2f7fd0));
    subjectTile("efpor.swf", QStringLiteral("Português"), Emblem::Letters, Rgba::hex(0xe0483a));
    subjectTile("efesso.swf", QStringLiteral("Geografia/História"), Emblem::Globe,
                Rgba::hex(0x3fae49));
    subjectTile("efing.swf", QStringLiteral("Inglês"), Emblem::Speech, Rgba::hex(0xb04ac0));
    subjectTile("efcie.swf", QStringLiteral("Ciências"), Emblem::Sun, Rgba::hex(0xf0a020));
    subjectTile("efinf.swf", QStringLiteral("Informática"), Emblem::Screen, Rgba::hex(0x1f9aa8));
    waiting();
}

void MenuMovies::logo() const
{
    constexpr double width = 121;
    constexpr double height = 69;
    swfwriter::Movie movie(width, height, frameRate, Rgba::hex(0xb5def2));
    const swfwriter::CharacterId name =
        m_art.text(movie, QStringLiteral("Quorvane"), 24, Rgba::hex(0x1d5f99), width - 10);
    const swfwriter::CharacterId line =
        m_art.text(movie, QStringLiteral("Fundamental I"), 11, Rgba::hex(0x004080));
    const swfwriter::CharacterId spark = twinkle(movie, m_art, 6, Rgba::hex(0xffd23c));

    swfwriter::Timeline& t = movie.timeline();
    for (int f = 0; f < loopFrames; ++f) {
        // The name breathes and its colour drifts towards teal and back.
        const Matrix nameMatrix = Matrix::placed(width / 2, 28, 1 + 0.04 * wave(f, loopFrames));
        const ColorTransform nameColour =
            ColorTransform::tint(Rgba::hex(0x12a39a), 0.35 * (0.5 + 0.5 * wave(f, loopFrames)));
        // A spark circles the name on an ellipse.
        const double angle = 2 * std::numbers::pi * f / loopFrames;
        const Matrix sparkMatrix =
            Matrix::translation(width / 2 + 52 * std::cos(angle), 30 + 22 * std::sin(angle));
        if (f == 0) {
            t.place(1, name, nameMatrix, nameColour);
            t.place(2, line, Matrix::translation(width / 2, 55));
            t.place(3, spark, sparkMatrix);
        } else {
            t.move(1, nameMatrix, nameColour);
            t.move(3, sparkMatrix);
        }
        t.showFrame();
    }
    movie.save(m_folder / "logo.swf", swfwriter::Compression::Zlib);
}

void MenuMovies::button(const char* file, const QString& label, const char* command,
                        Rgba colour) const
{
    constexpr double width = 48;
    constexpr double height = 23;
    // The stage shows the bar of the backdrop the buttons sit on.
    swfwriter::Movie movie(width, height, frameRate, Rgba::hex(0x2b7bb9));
    swfwriter::Actions send;
    send.fscommand(command);
    const swfwriter::CharacterId face = m_art.pushButton(movie, label, width, height, colour, send);
    swfwriter::Timeline& t = movie.timeline();
    t.place(1, face);
    t.actions(swfwriter::Actions().stop());
    t.showFrame();
    movie.save(m_folder / file, swfwriter::Compression::Zlib);
}

void MenuMovies::yearTile(const char* file, int year, Rgba colour) const
{
    constexpr double width = 161;
    constexpr double height = 135;
    swfwriter::Movie movie(width, height, frameRate, tileGround);
    const swfwriter::CharacterId ground =
        m_art.panel(movie, width - 4, height - 4, 14, Artwork::lighter(colour, 0.85),
                    Artwork::lighter(colour, 0.55), colour);
    const swfwriter::CharacterId ball = m_art.ball(movie, 36, colour);
    const swfwriter::CharacterId numeral =
        m_art.text(movie, QString::number(year) + QStringLiteral("º"), 34, Rgba::hex(0xffffff));
    const swfwriter::CharacterId caption =
        m_art.text(movie, QStringLiteral("%1º Ano").arg(year), 20, Artwork::darker(colour, 0.35));
    const swfwriter::CharacterId spark = twinkle(movie, m_art, 7, Rgba::hex(0xffd23c));

    swfwriter::Timeline& t = movie.timeline();
    for (int f = 0; f < loopFrames; ++f) {
        const double bob = 5 * wave(f, loopFrames / 2);
        const Matrix ballMatrix = Matrix::placed(width / 2, 56 + bob, 1);
        const Matrix numeralMatrix = Matrix::placed(width / 2, 56 + bob, 1 + 0.08 * wave(f, 30));
        if (f == 0) {
            t.place(1, ground, Matrix::translation(2, 2));
            t.place(2, ball, ballMatrix);
            t.place(3, numeral, numeralMatrix);
            t.place(4, caption, Matrix::translation(width / 2, 114));
        } else {
            t.move(2, ballMatrix);
            t.move(3, numeralMatrix);
        }
        // Three sparks circle the ball, a third of a turn apart.
        for (int s = 0; s < 3; ++s) {
            const double angle = 2 * std::numbers::pi * (f / double(loopFrames) + s / 3.0);
            const Matrix sparkMatrix = Matrix::translation(width / 2 + 56 * std::cos(angle),
                                                           56 + bob + 30 * std::sin(angle));
            const auto depth = static_cast<std::uint16_t>(5 + s);
            if (f == 0)
                t.place(depth, spark, sparkMatrix);
            else
                t.move(depth, sparkMatrix);
        }
        t.showFrame();
    }
    movie.save(m_folder / file, swfwriter::Compression::Zlib);
}

void MenuMovies::subjectTile(const char* file, const QString& name, Emblem emblem,
                             Rgba colour) const
{
    constexpr double width = 156;
    constexpr double height = 116;
    constexpr double cx = width / 2;
    swfwriter::Movie movie(width, height, frameRate, tileGround);
    const swfwriter::CharacterId ground =
        m_art.panel(movie, width - 4, height - 4, 12, Artwork::lighter(colour, 0.85),
                    Artwork::lighter(colour, 0.55), colour);
    const swfwriter::CharacterId caption =
        m_art.text(movie, name, 17, Artwork::darker(colour, 0.35), width - 14);
    swfwriter::Timeline& t = movie.timeline();
    t.place(1, ground, Matrix::translation(2, 2));
    t.place(2, caption, Matrix::translation(cx, 94));

    // The emblem moves on the three-second loop, at depth 10 and up.
    const std::vector<Part> parts = emblemParts(movie, emblem, colour);
    for (int f = 0; f < loopFrames; ++f) {
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const auto depth = static_cast<std::uint16_t>(10 + i);
            if (f == 0)
                t.place(depth, parts[i].character, parts[i].at(f), parts[i].colour(f));
            else
                t.move(depth, parts[i].at(f), parts[i].colour(f));
        }
        t.showFrame();
    }
    movie.save(m_folder / file, swfwriter::Compression::Zlib);
}

std::vector<MenuMovies::Part> MenuMovies::emblemParts(swfwriter::Movie& movie, Emblem emblem,
                                                      Rgba colour) const
{
    // Centre of the emblem on the subject tile's stage.
    constexpr double cx = 78;
    constexpr double cy = 46;
    std::vector<Part> parts;
    const auto orbit = [&](double radius, double phase, double ry) {
        return [=](int f) {
            const double a = 2 * std::numbers::pi * (f / double(loopFrames) + phase);
            return Matrix::translation(cx + radius * std::cos(a), cy + ry * std::sin(a));
        };
    };
    switch (emblem) {
    case Emblem::Arithmetic: {
        const QString signs[] = {QStringLiteral("+"), QStringLiteral("−"), QStringLiteral("×"),
                                 QStringLiteral("÷")};
        const Rgba colours[] = {Rgba::hex(0xe0483a), Rgba::hex(0x3fae49), Rgba::hex(0xf0a020),
                                Rgba::hex(0xb04ac0)};
        for (int i = 0; i < 4; ++i) {
            parts.push_back({m_art.ball(movie, 13, colours[i]), orbit(40, i / 4.0, 20)});
            parts.push_back(
                {m_art.text(movie, signs[i], 18, Rgba::hex(0xffffff)), orbit(40, i / 4.0, 20)});
        }
        break;
    }
    case Emblem::Letters: {
        const QString letters[] = {QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("C"),
                                   QStringLiteral("ç")};
        for (int i = 0; i < 4; ++i)
            parts.push_back(
                {m_art.text(movie, letters[i], 30, Artwork::lighter(colour, 0.1 * i)), [=](int f) {
                     return Matrix::translation(cx - 48 + 32 * i, cy + 10 * wave(f, 30, i / 8.0));
                 }});
        break;
    }
    case Emblem::Globe: {
        parts.push_back({m_art.ball(movie, 30, Rgba::hex(0x2f7fd0)),
                         [=](int) { return Matrix::translation(cx, cy); }});
        swfwriter::Shape meridian;
        meridian.setLine(meridian.addLine(2, Rgba::hex(0x8fe08a)));
        meridian.ellipse({0, 0}, 29, 29);
        meridian.moveTo({-29, 0});
        meridian.lineTo({29, 0});
        const swfwriter::CharacterId ring = movie.define(meridian);
        // Continents drift across the face, narrowing towards the rim as on a turning sphere.
        swfwriter::Shape land;
        land.setFill(land.addFill(swfwriter::Fill::solid(Rgba::hex(0x4cbf4a))));
        land.polygon({{-7, -12}, {6, -14}, {9, -4}, {4, 6}, {1, 14}, {-4, 6}, {-9, -2}});
        const swfwriter::CharacterId continent = movie.define(land);
        for (const double phase : {0.0, 0.5}) {
            const double lift = phase == 0 ? -6 : 8;
            parts.push_back(
                {continent,
                 [=](int f) {
                     const double u = std::fmod(f / double(loopFrames) + phase, 1.0);
                     const double theta = (u * 2 - 1) * std::numbers::pi / 2;
                     Matrix m = Matrix::translation(cx + 22 * std::sin(theta), cy + lift);
                     m.scaleX = std::max(0.05, std::cos(theta));
                     return m;
                 },
                 [=](int f) {
                     const double u = std::fmod(f / double(loopFrames) + phase, 1.0);
                     const bool shown = u > 0.05 && u < 0.95;
                     return std::optional<ColorTransform>(ColorTransform::alpha(shown ? 1 : 0));
                 }});
        }
        parts.push_back({ring, [=](int f) {
                             Matrix m = Matrix::translation(cx, cy);
                             m.scaleX = std::max(
                                 0.05, std::abs(std::cos(std::numbers::pi * f / loopFrames)));
                             return m;
                         }});
        parts.push_back({m_art.ball(movie, 6, Rgba::hex(0xd8d8d8)), orbit(52, 0, 14)});
        break;
    }
    case Emblem::Speech: {
        swfwriter::Shape bubble;
        bubble.setFill(bubble.addFill(swfwriter::Fill::solid(Rgba::hex(0xffffff))));
        bubble.setLine(bubble.addLine(2, colour));
        bubble.roundedRectangle(-44, -22, 88, 40, 12);
        bubble.polygon({{-20, 17}, {-30, 30}, {-6, 17}});
        const swfwriter::CharacterId shape = movie.define(bubble);
        parts.push_back(
            {shape, [=](int f) { return Matrix::placed(cx, cy, 1 + 0.06 * wave(f, loopFrames)); }});
        const swfwriter::CharacterId hello =
            m_art.text(movie, QStringLiteral("Hello!"), 20, colour);
        const swfwriter::CharacterId ola =
            m_art.text(movie, QStringLiteral("Olá!"), 20, Rgba::hex(0x3fae49));
        // The two greetings take turns, each popping up in its half of the loop.
        constexpr int half = loopFrames / 2;
        const auto popAt = [=](int start) {
            return [=](int f) {
                const int age = (f - start + loopFrames) % loopFrames;
                const double scale = age < half ? std::min(1.0, 0.4 + age * 0.15) : 1.0;
                return Matrix::placed(cx, cy - 3, scale);
            };
        };
        const auto shownFrom = [=](int start) {
            return [=](int f) {
                const bool shown = (f - start + loopFrames) % loopFrames < half;
                return std::optional<ColorTransform>(ColorTransform::alpha(shown ? 1 : 0));
            };
        };
        parts.push_back({hello, popAt(0), shownFrom(0)});
        parts.push_back({ola, popAt(half), shownFrom(half)});
        break;
    }
    case Emblem::Sun: {
        parts.push_back({m_art.star(movie, 30, Rgba::hex(0xffc83c)),
                         [=](int f) { return Matrix::placed(cx, cy, 1, f * 6); }});
        for (int i = 0; i < 3; ++i) {
            parts.push_back({m_art.ball(movie, 4, Rgba::hex(0x2f9fe0)), [=](int f) {
                                 const int step = (f + i * 20) % loopFrames;
                                 return Matrix::translation(cx - 50 + 50 * i, 10 + step * 1.1);
                             }});
        }
        break;
    }
    case Emblem::Screen: {
        const swfwriter::CharacterId screen = m_art.panel(movie, 86, 56, 6, Rgba::hex(0x20324a),
                                                          Rgba::hex(0x0f1c2c), Rgba::hex(0x8a9aa8));
        parts.push_back({screen, [=](int) { return Matrix::translation(cx - 43, cy - 32); }});
        swfwriter::Shape foot;
        foot.setFill(foot.addFill(swfwriter::Fill::solid(Rgba::hex(0x8a9aa8))));
        foot.polygon({{-10, 0}, {10, 0}, {16, 8}, {-16, 8}});
        parts.push_back(
            {movie.define(foot), [=](int) { return Matrix::translation(cx, cy + 24); }});
        const QString typed = QStringLiteral("abc");
        for (int i = 0; i < 3; ++i) {
            const swfwriter::CharacterId letter =
                m_art.text(movie, typed.mid(i, 1), 16, Rgba::hex(0x7dffb0));
            parts.push_back(
                {letter, [=](int) { return Matrix::translation(cx - 24 + 14 * i, cy - 6); },
                 [=](int f) {
                     const bool shown = f >= 10 + 12 * i;
                     return std::optional<ColorTransform>(ColorTransform::alpha(shown ? 1 : 0));
                 }});
        }
        swfwriter::Shape caret;
        caret.setFill(caret.addFill(swfwriter::Fill::solid(Rgba::hex(0x7dffb0))));
        caret.rectangle(-1, -8, 2, 16);
        parts.push_back({movie.define(caret),
                         [=](int f) {
                             const int typedCount = std::clamp((f - 10) / 12 + 1, 0, 3);
                             return Matrix::translation(cx - 32 + 14 * typedCount, cy - 6);
                         },
                         [](int f) {
                             return std::optional<ColorTransform>(
                                 ColorTransform::alpha((f / 5) % 2 == 0 ? 1 : 0));
                         }});
        break;
    }
    }

    return parts;
}

void MenuMovies::waiting() const
{
    constexpr double width = 400;
    constexpr double height = 300;
    swfwriter::Movie movie(width, height, frameRate, Rgba::hex(0xeefafd));
    // The spinner is a sprite: twelve dots fading round the ring, one step per frame.
    constexpr int dots = 12;
    const swfwriter::CharacterId dot = m_art.ball(movie, 7, Rgba::hex(0x2b7bb9));
    swfwriter::Timeline spinner;
    for (int f = 0; f < dots; ++f) {
        for (int i = 0; i < dots; ++i) {
            const double angle = 2 * std::numbers::pi * i / dots;
            const Matrix at = Matrix::translation(40 * std::cos(angle), 40 * std::sin(angle));
            const int age = (f - i + dots) % dots;
            const auto fade =
                std::optional<ColorTransform>(ColorTransform::alpha(1 - age / double(dots)));
            const auto depth = static_cast<std::uint16_t>(1 + i);
            if (f == 0)
                spinner.place(depth, dot, at, fade);
            else
                spinner.move(depth, at, fade);
        }
        spinner.showFrame();
    }
    const swfwriter::CharacterId spinnerId = movie.define(spinner);
    const swfwriter::CharacterId caption =
        m_art.text(movie, QStringLiteral("Aguarde..."), 30, Rgba::hex(0x1d5f99));
    swfwriter::Timeline& t = movie.timeline();
    t.place(1, spinnerId, Matrix::translation(width / 2, 120));
    t.place(2, caption, Matrix::translation(width / 2, 220));
    for (int f = 0; f < 40; ++f) {
        if (f > 0)
            t.move(2, Matrix::placed(width / 2, 220, 1 + 0.05 * wave(f, 40)));
        t.showFrame();
    }
    movie.save(m_folder / "aguarde_f1.swf", swfwriter::Compression::Zlib);
}

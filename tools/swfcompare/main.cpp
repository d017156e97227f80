// Compares the native SWF engine with Ruffle on movies, for maintainers: the chosen frames drawn
// by both (the pictures and their difference kept in the output folder), and clicks answered by
// both. Needs an X server (run it through xvfb-run) and xdotool.
//
//   quorvane-swfcompare [--frames 1,10,last] [--buttons] [--click X,Y]... [--out DIR] FILE...
//
// One line per comparison. Exits with 0 when the engines agree on everything, 1 when they
// differ somewhere, 2 when the arguments or a movie cannot be used.
#include "EngineComparison.h"
#include "Fonts.h"
#include "Probe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace
{

void print(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
}

std::optional<std::vector<int>> framesOf(const QString& list, int frameCount)
{
    std::vector<int> frames;
    for (const QString& item : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString word = item.trimmed().toLower();
        bool number = false;
        const int frame = word.toInt(&number);
        if (number && frame >= 1)
            frames.push_back(frame);
        else if (word == QLatin1String("first"))
            frames.push_back(1);
        else if (word == QLatin1String("middle"))
            frames.push_back((frameCount + 1) / 2);
        else if (word == QLatin1String("last"))
            frames.push_back(frameCount);
        else
            return std::nullopt;
    }
    return frames;
}

std::optional<QPointF> pointOf(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    bool x = false;
    bool y = false;
    if (parts.size() != 2)
        return std::nullopt;
    const QPointF point(parts[0].toDouble(&x), parts[1].toDouble(&y));
    return x && y ? std::optional(point) : std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    installFontSubstitutions();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Compares the native SWF engine with Ruffle: frames drawn, and clicks answered."));
    parser.addHelpOption();
    const QCommandLineOption frames(
        QStringLiteral("frames"),
        QStringLiteral("Frames to compare: numbers from 1, or first, middle, last."),
        QStringLiteral("list"), QStringLiteral("first,middle,last"));
    const QCommandLineOption buttons(
        QStringLiteral("buttons"),
        QStringLiteral("Click inside every button of the last frame compared."));
    const QCommandLineOption clicks(
        QStringLiteral("click"),
        QStringLiteral("Click there too (stage pixels from the top left), after the buttons."),
        QStringLiteral("x,y"));
    const QCommandLineOption scale(QStringLiteral("scale"),
                                   QStringLiteral("Player pixels per stage pixel."),
                                   QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption spriteFrame(
        QStringLiteral("sprite-frame"),
        QStringLiteral("The frame every sprite stops on (default: the frame compared)."),
        QStringLiteral("frame"), QStringLiteral("0"));
    const QCommandLineOption tolerance(
        QStringLiteral("tolerance"),
        QStringLiteral("Per channel, beyond the neighbouring pixels' range."),
        QStringLiteral("level"), QString::number(swfcompare::Tolerance{}.channel));
    const QCommandLineOption share(
        QStringLiteral("share"), QStringLiteral("Percentage of pixels allowed to differ."),
        QStringLiteral("percent"), QString::number(100 * swfcompare::Tolerance{}.differingShare));
    const QCommandLineOption out(
        QStringLiteral("out"),
        QStringLiteral("Folder for the probe copies and the pictures (default: a temporary one)."),
        QStringLiteral("folder"));
    parser.addOptions({frames, buttons, clicks, scale, spriteFrame, tolerance, share, out});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Movies to compare."),
                                 QStringLiteral("FILE..."));
    parser.process(application);

    const auto usage = [&parser](const QString& problem) {
        std::fputs(qPrintable(problem + QLatin1Char('\n')), stderr);
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    };
    if (parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("No movie given."));

    swfcompare::ComparisonOptions options;
    bool valid = true;
    bool read = false;
    options.scale = parser.value(scale).toDouble(&read);
    valid = valid && read && options.scale > 0 && options.scale <= 8;
    options.spriteFrame = parser.value(spriteFrame).toInt(&read);
    valid = valid && read && options.spriteFrame >= 0;
    options.tolerance.channel = parser.value(tolerance).toInt(&read);
    valid = valid && read && options.tolerance.channel >= 0;
    options.tolerance.differingShare = parser.value(share).toDouble(&read) / 100;
    valid = valid && read && options.tolerance.differingShare >= 0;
    if (!valid)
        return usage(QStringLiteral("A number is out of range."));
    std::vector<QPointF> points;
    for (const QString& text : parser.values(clicks)) {
        const auto point = pointOf(text);
        if (!point)
            return usage(QStringLiteral("Not a point: ") + text);
        points.push_back(*point);
    }

    std::vector<swfcompare::MovieCheck> checks;
    for (const QString& file : parser.positionalArguments()) {
        QFile movie(file);
        int frameCount = 1;
        if (movie.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = movie.readAll();
            try {
                frameCount = swfcompare::countFrames(
                    {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                     static_cast<std::size_t>(bytes.size())});
            } catch (const std::exception& error) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(file), error.what());
                return 2;
            }
        }
        const auto chosen = framesOf(parser.value(frames), frameCount);
        if (!chosen)
            return usage(QStringLiteral("Not a list of frames: ") + parser.value(frames));
        checks.push_back({file, *chosen, parser.isSet(buttons), points});
    }

    QTemporaryDir temporary;
    const QString folder = parser.isSet(out) ? parser.value(out) : temporary.path();
    if (!QDir().mkpath(folder))
        return usage(QStringLiteral("Cannot create the folder ") + folder);
    const swfcompare::ComparisonReport report =
        swfcompare::EngineComparison(QDir(folder).absolutePath(), options).run(checks);
    for (const QString& error : report.errors)
        print(error);
    for (const auto& comparison : report.frames) {
        print(swfcompare::describe(comparison));
        if (parser.isSet(out))
            (void)swfcompare::savePictures(comparison, QDir(folder));
    }
    for (const auto& comparison : report.clicks)
        print(swfcompare::describe(comparison));
    if (!report.errors.isEmpty())
        return 2;
    return report.passed() ? 0 : 1;
}

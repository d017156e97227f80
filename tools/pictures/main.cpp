// Draws the program's own pictures: the backdrop the windows are laid out on, and the icon.
// Run it again after changing the drawing and commit what it writes to assets/.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace
{

const QColor frameBlue(0x7f, 0xc4, 0xe8);
const QColor deepBlue(0x2b, 0x7b, 0xb9);
const QColor paleCentre(0xee, 0xfa, 0xfd);

void drawBackground(QPainter& p)
{
    // The windows stretch this 800 x 600 picture over a 790 x 536 client area; the regions
    // below are placed for that: tab behind the logo, pale area behind the list panel, bar
    // behind the buttons.
    QLinearGradient sky(0, 0, 0, 600);
    sky.setColorAt(0, frameBlue.lighter(115));
    sky.setColorAt(1, frameBlue);
    p.fillRect(0, 0, 800, 600, sky);

    QPainterPath tab;
    tab.addRoundedRect(QRectF(290, -30, 220, 130), 28, 28);
    p.setPen(QPen(deepBlue, 3));
    p.setBrush(frameBlue.lighter(125));
    p.drawPath(tab);

    QPainterPath centre;
    centre.addRoundedRect(QRectF(40, 108, 720, 422), 24, 24);
    p.setBrush(paleCentre);
    p.drawPath(centre);

    QLinearGradient bar(0, 540, 0, 600);
    bar.setColorAt(0, deepBlue.lighter(130));
    bar.setColorAt(1, deepBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(bar);
    p.drawRoundedRect(QRectF(20, 548, 760, 44), 14, 14);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 90), 2));
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(QPointF(70 + i * 132, 60), 14 + i % 3 * 6, 14 + i % 3 * 6);
}

void drawIcon(QPainter& p, int size)
{
    const qreal s = size;
    QRadialGradient ball(s * 0.4, s * 0.35, s * 0.6);
    ball.setColorAt(0, frameBlue.lighter(130));
    ball.setColorAt(1, deepBlue);
    p.setPen(QPen(deepBlue.darker(140), s / 32));
    p.setBrush(ball);
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));

    // An open book: two pages meeting at the spine.
    p.setPen(QPen(deepBlue.darker(160), s / 40));
    p.setBrush(Qt::white);
    QPainterPath left;
    left.moveTo(s * 0.5, s * 0.36);
    left.cubicTo(s * 0.4, s * 0.3, s * 0.28, s * 0.3, s * 0.2, s * 0.34);
    left.lineTo(s * 0.2, s * 0.7);
    left.cubicTo(s * 0.28, s * 0.66, s * 0.4, s * 0.66, s * 0.5, s * 0.72);
    left.closeSubpath();
    p.drawPath(left);
    QTransform mirror;
    mirror.translate(s, 0);
    mirror.scale(-1, 1);
    p.drawPath(mirror.map(left));
}

QImage iconAt(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    drawIcon(p, size);
    return icon;
}

// The icon drawn at each size a desktop's icon theme looks for, as hicolor/<n>x<n>/apps/.
bool writeIconTheme(const QString& folder)
{
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString apps = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(apps)
            || !iconAt(size).save(apps + QStringLiteral("/quorvane.png"), "PNG"))
            return false;
    }
    return true;
}

bool writeAssets(const QString& folder)
{
    QImage background(800, 600, QImage::Format_RGB32);
    {
        QPainter p(&background);
        p.setRenderHint(QPainter::Antialiasing);
        drawBackground(p);
    }
    // Qt writes baseline (not progressive) JPEG through libjpeg.
    return background.save(folder + QStringLiteral("/background.jpg"), "JPEG", 90)
           && iconAt(256).save(folder + QStringLiteral("/icon.png"), "PNG");
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments().mid(1);
    const bool iconTheme = arguments.size() == 2 && arguments[0] == QLatin1String("--icon-theme");
    if (arguments.size() != 1 && !iconTheme) {
        std::fprintf(stderr, "usage: quorvane-pictures OUTPUT_FOLDER\n"
                             "       quorvane-pictures --icon-theme OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = arguments.last();
    if (!(iconTheme ? writeIconTheme(folder) : writeAssets(folder))) {
        std::fprintf(stderr, "quorvane-pictures: cannot write to %s\n", qPrintable(folder));
        return 1;
    }
    return 0;
}

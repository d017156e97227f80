#include "WindowDecor.h"

#include "FormControls.h"
#include "Main.h"
#include "TShockwaveFlash.h"
#include "TransparentLabel.h"
#include "WindowSlots.h"

#include <QLabel>
#include <QPixmap>
#include <QStringList>

QLabel* makeBackdrop(QWidget* window)
{
    auto* image = placed(new QLabel(window), QStringLiteral("Image1"), QRect(0, 0, 790, 536));
    image->setPixmap(QPixmap(QStringLiteral(":/assets/background.jpg")));
    image->setScaledContents(true);
    return image;
}

TransparentLabel* makeBrandLine(QWidget* window, const QPoint& position)
{
    return placed(new TransparentLabel(QStringLiteral("Quorvane - Tecnologia e Educação"),
                                       pixelFont(QStringLiteral("Arial Black"), 17, true),
                                       QColor(0x00, 0x40, 0x80), window),
                  QStringLiteral("Label7"), position);
}

TShockwaveFlash* makePlayer(QWidget* parent, const QString& name, const QRect& geometry)
{
    return placed(new TShockwaveFlash(parent), name, geometry);
}

void centreOnGradeMenu(QWidget& window)
{
    if (!FRMmain)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(FRMmain->frameGeometry().center());
    window.move(frame.topLeft());
}

QString yearCaption(const QString& gradeCode)
{
    static const QStringList gradeCodes{QStringLiteral("1A"), QStringLiteral("2A"),
                                        QStringLiteral("3A"), QStringLiteral("4A"),
                                        QStringLiteral("5A")};
    const auto year = gradeCodes.indexOf(gradeCode);
    if (year < 0)
        return {};
    return QStringLiteral("%1º Ano - Fundamental I").arg(year + 1);
}

#include "Main.h"

#include "Ativid.h"
#include "BevelPanel.h"
#include "ContentFolders.h"
#include "ErrorReporting.h"
#include "FormControls.h"
#include "FundI.h"
#include "Outline.h"
#include "TShockwaveFlash.h"
#include "TransparentLabel.h"
#include "WindowDecor.h"
#include "WindowSlots.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <array>

namespace
{

QFont defaultFont()
{
    return pixelFont(QStringLiteral("MS Sans Serif"), 11);
}

BevelPanel* makePanel(QWidget* window)
{
    auto* panel = placed(new BevelPanel(window), QStringLiteral("P1"), QRect(54, 112, 690, 343));
    panel->setBorderWidth(2);
    return panel;
}

QPushButton* makeConfirmButton(QWidget* window)
{
    auto* button = placed(new QPushButton(window), QStringLiteral("btok"), QRect(390, 352, 27, 25));
    button->setVisible(false);
    return button;
}

struct Year {
    int slot;
    QLatin1String gradeCode;
};

// In the order the confirm action looks at them.
constexpr std::array<Year, 5> years{{
    {1, QLatin1String("1A")},
    {2, QLatin1String("2A")},
    {3, QLatin1String("3A")},
    {5, QLatin1String("4A")},
    {6, QLatin1String("5A")},
}};

} // namespace

TFRMmain::TFRMmain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , Image1(makeBackdrop(this))
    , Label7(makeBrandLine(this, QPoint(246, 91)))
    , SWF1(makePlayer(this, QStringLiteral("SWF1"), QRect(337, 11, 121, 69)))
    , SWFok(makePlayer(this, QStringLiteral("SWFok"), QRect(689, 486, 48, 23)))
    , SWFsair(makePlayer(this, QStringLiteral("SWFsair"), QRect(618, 487, 48, 23)))
    , btok(makeConfirmButton(this))
    , P1(makePanel(this))
    , m_selection(P1, btok)
{
    setObjectName(QStringLiteral("FRMmain"));
    setWindowTitle(QStringLiteral("Quorvane - Fundamental I"));
    setFixedSize(790, 536);
    setFont(defaultFont());

    // The scroll box's sunken border is outside its client area, where the tiles are placed.
    ScrollBox1 = placed(new QFrame(P1), QStringLiteral("ScrollBox1"), P1->contentsRect());
    ScrollBox1->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    ScrollBox1->setAutoFillBackground(true);
    QPalette scrollColours = ScrollBox1->palette();
    scrollColours.setColor(QPalette::Window, QColor(0xDB, 0xF8, 0xF9));
    ScrollBox1->setPalette(scrollColours);

    addTile(1, SWFinf, QStringLiteral("SWFinf"), {20, 9, 161, 135}, QStringLiteral("Shape1"),
            {16, 5, 170, 145}, QStringLiteral("Label10"), QStringLiteral("1º Ano"), {66, 147});
    addTile(2, SWFef1, QStringLiteral("SWFef1"), {262, 10, 161, 135}, QStringLiteral("Shape2"),
            {256, 5, 173, 144}, QStringLiteral("Label3"), QStringLiteral("2º Ano"), {310, 147});
    addTile(3, SwFef2, QStringLiteral("SwFef2"), {504, 9, 161, 135}, QStringLiteral("Shape3"),
            {497, 5, 172, 145}, QStringLiteral("Label5"), QStringLiteral("3º Ano"), {555, 146});
    addTile(5, swftem, QStringLiteral("swftem"), {146, 175, 161, 135}, QStringLiteral("Shape5"),
            {139, 170, 172, 145}, QStringLiteral("Label6"), QStringLiteral("4º Ano"), {199, 311});
    addTile(6, swfcd, QStringLiteral("swfcd"), {383, 175, 161, 135}, QStringLiteral("Shape6"),
            {379, 170, 172, 145}, QStringLiteral("Label8"), QStringLiteral("5º Ano"), {433, 311});

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);

    connectHandlers();
    guarded([this] { FormCreate(); });
}

void TFRMmain::addTile(int slot, TShockwaveFlash*& player, const QString& playerName,
                       const QRect& playerGeometry, const QString& outlineName,
                       const QRect& outlineGeometry, const QString& labelName,
                       const QString& caption, const QPoint& labelPosition)
{
    const QPoint client(ScrollBox1->frameWidth(), ScrollBox1->frameWidth());
    auto* outline =
        placed(new Outline(ScrollBox1), outlineName, outlineGeometry.translated(client));
    placed(new TransparentLabel(caption, pixelFont(QStringLiteral("Sylfaen"), 17, true),
                                QColor(0x00, 0x00, 0x80), ScrollBox1),
           labelName, labelPosition + client);
    player = makePlayer(ScrollBox1, playerName, playerGeometry.translated(client));
    m_selection.addTile(slot, outline);
}

void TFRMmain::connectHandlers()
{
    const auto onEnter = [this](TShockwaveFlash* player, void (TFRMmain::*handler)()) {
        connect(player, &TShockwaveFlash::OnEnter, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    onEnter(SWFinf, &TFRMmain::SWFinfEnter);
    onEnter(SWFef1, &TFRMmain::SWFef1Enter);
    onEnter(SwFef2, &TFRMmain::SwFef2Enter);
    onEnter(swftem, &TFRMmain::swftemEnter);
    onEnter(swfcd, &TFRMmain::swfcdEnter);

    connect(btok, &QPushButton::clicked, this, [this] { guarded([this] { btokClick(); }); });
    connect(SWFok, &TShockwaveFlash::FSCommand, this,
            [this](const QString& command, const QString& args) {
                guarded([&] { SWFokFSCommand(command, args); });
            });
    connect(SWFsair, &TShockwaveFlash::FSCommand, this,
            [this](const QString& command, const QString& args) {
                guarded([&] { SWFsairFSCommand(command, args); });
            });
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
}

void TFRMmain::showEvent(QShowEvent* event)
{
    if (!m_placedOnScreen) {
        m_placedOnScreen = true;
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
    QWidget::showEvent(event);
}

void TFRMmain::FormCreate()
{
    initialiseFolders();
    SWFmostra();
    m_selection.resetCounters(1, 6);
}

void TFRMmain::SWFmostra()
{
    Timer1->stop();
    SWF1->setMovie(pasta_config + QStringLiteral("logo.swf"));
    SWFinf->setMovie(pasta_config + QStringLiteral("1ano.swf"));
    SWFef1->setMovie(pasta_config + QStringLiteral("2ano.swf"));
    SwFef2->setMovie(pasta_config + QStringLiteral("3ANO.swf"));
    swftem->setMovie(pasta_config + QStringLiteral("4ANO.swf"));
    swfcd->setMovie(pasta_config + QStringLiteral("5ANO.swf"));
    SWFok->setMovie(pasta_config + QStringLiteral("Ok.swf"));
    SWFsair->setMovie(pasta_config + QStringLiteral("Sair.swf"));
    for (TShockwaveFlash* player : {SWF1, SWFef1, SwFef2, SWFinf, swftem, swfcd, SWFok, SWFsair})
        player->setVisible(true);
}

void TFRMmain::SWFdesativa()
{
    Timer1->start();
    for (TShockwaveFlash* player : {SWFef1, SwFef2, SWFinf, swftem, swfcd})
        player->setVisible(false);
    // The bare folder names no movie: the players unload what they showed.
    for (TShockwaveFlash* player : {SWF1, SWFinf, SWFef1, SwFef2, swftem, swfcd})
        player->setMovie(pasta_config);
}

void TFRMmain::reloadLogo()
{
    SWF1->setMovie(pasta_config + QStringLiteral("logo.swf"));
}

void TFRMmain::SWFinfEnter()
{
    m_selection.enter(1);
}

void TFRMmain::SWFef1Enter()
{
    m_selection.enter(2);
}

void TFRMmain::SwFef2Enter()
{
    m_selection.enter(3);
}

void TFRMmain::swftemEnter()
{
    m_selection.enter(5);
}

void TFRMmain::swfcdEnter()
{
    m_selection.enter(6);
}

void TFRMmain::btokClick()
{
    if (m_selection.warnIfNothingSelected())
        return;
    SWFdesativa();
    for (const Year& year : years) {
        if (!m_selection.isSelected(year.slot))
            continue;
        SerieAtual = year.gradeCode;
        if (!FRMfundI) {
            auto* subjects = new TFRMfundI(this);
            FRMfundI = subjects;
            subjects->showModal();
        }
    }
    SWFmostra();
    // The outline stays red: Ok alone confirms the same year again.
    m_selection.resetCounters(1, 6);
}

void TFRMmain::SWFokFSCommand(const QString&, const QString&)
{
    btok->click();
}

void TFRMmain::SWFsairFSCommand(const QString& command, const QString&)
{
    if (command == QLatin1String("Sair"))
        close();
}

void TFRMmain::Timer1Timer()
{
    const auto align = [this](QWidget* child) {
        if (!child || (child->y() == y() && child->x() == x()))
            return;
        child->move(x(), y());
        repaint();
        child->repaint();
    };
    align(FRMfundI);
    align(FRMAtividades);
}

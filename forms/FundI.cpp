#include "FundI.h"

#include "Ativid.h"
#include "BevelPanel.h"
#include "ColourKeyMask.h"
#include "ContentFolders.h"
#include "ErrorReporting.h"
#include "FormActivation.h"
#include "FormControls.h"
#include "Main.h"
#include "ModalWindow.h"
#include "Outline.h"
#include "TShockwaveFlash.h"
#include "TransparentLabel.h"
#include "WindowDecor.h"
#include "WindowSlots.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScopeGuard>

#include <array>

namespace
{

// The background colour, which is also the colour that is see-through.
const QColor colourKey(0x00, 0xFF, 0x40);

BevelPanel* makePanel(QWidget* window)
{
    auto* panel = placed(new BevelPanel(window), QStringLiteral("P1"), QRect(62, 112, 689, 344));
    panel->setBorderWidth(2);
    panel->setBackground(QColor(0xDB, 0xF8, 0xF9));
    return panel;
}

QPushButton* makeConfirmButton(QWidget* window)
{
    auto* button = placed(new QPushButton(window), QStringLiteral("btok"), QRect(398, 462, 25, 25));
    button->setVisible(false);
    return button;
}

struct Subject {
    int slot;
    QStringView name;
};

// Geografia and História are one subject, known to the catalog as "ESSO".
constexpr std::array<Subject, 6> subjects{{
    {1, u"Matemática"},
    {2, u"Português"},
    {3, u"ESSO"},
    {4, u"Inglês"},
    {5, u"Ciências"},
    {6, u"Informática"},
}};

void moveLeft(QWidget* control, int left)
{
    control->move(left, control->y());
}

} // namespace

TFRMfundI::TFRMfundI(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
    , P1(makePanel(this))
    , btok(makeConfirmButton(this))
    , m_selection(P1, btok)
{
    setObjectName(QStringLiteral("FRMfundI"));
    setWindowTitle(QStringLiteral("Fundamental I"));
    setFixedSize(790, 536);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colourKey);
    setPalette(colours);
    setAutoFillBackground(true);
    new ColourKeyMask(this);

    addTile(1, SWFmat, QStringLiteral("SWFmat"), {68, 15, 156, 116}, Shape1,
            QStringLiteral("Shape1"), {62, 12, 166, 126}, Label1, QStringLiteral("Label1"),
            QStringLiteral("Matemática"), {93, 138});
    addTile(3, Swfesso, QStringLiteral("Swfesso"), {464, 16, 156, 116}, Shape3,
            QStringLiteral("Shape3"), {460, 12, 164, 126}, Label3, QStringLiteral("Label3"),
            QStringLiteral("Geografia/História"), {465, 139});
    addTile(2, SwFport, QStringLiteral("SwFport"), {268, 16, 156, 116}, Shape2,
            QStringLiteral("Shape2"), {262, 12, 166, 126}, Label2, QStringLiteral("Label2"),
            QStringLiteral("Português"), {303, 138});
    addTile(4, SwFing, QStringLiteral("SwFing"), {67, 178, 156, 116}, Shape4,
            QStringLiteral("Shape4"), {60, 173, 166, 126}, L4, QStringLiteral("L4"),
            QStringLiteral("Inglês"), {103, 297});
    addTile(5, SwFcie, QStringLiteral("SwFcie"), {268, 178, 156, 116}, Shape5,
            QStringLiteral("Shape5"), {261, 174, 166, 126}, L5, QStringLiteral("L5"),
            QStringLiteral("Ciências"), {309, 299});
    addTile(6, SwFinf, QStringLiteral("SwFinf"), {468, 178, 156, 116}, Shape6,
            QStringLiteral("Shape6"), {462, 173, 166, 126}, L6, QStringLiteral("L6"),
            QStringLiteral("Informática"), {503, 301});
    SWFvoltar = makePlayer(this, QStringLiteral("SWFvoltar"), QRect(619, 490, 48, 23));
    SWFok = makePlayer(this, QStringLiteral("SWFok"), QRect(690, 490, 48, 23));
    SWF1 = makePlayer(this, QStringLiteral("SWF1"), QRect(345, 11, 121, 69));
    for (TShockwaveFlash* player : {SWFok, SWFvoltar})
        player->setAllowScriptAccess(true);

    P1->setFocus();
    connectHandlers();
    guarded([this] { FormCreate(); });
}

void TFRMfundI::addTile(int slot, TShockwaveFlash*& player, const QString& playerName,
                        const QRect& playerGeometry, Outline*& outline, const QString& outlineName,
                        const QRect& outlineGeometry, TransparentLabel*& label,
                        const QString& labelName, const QString& caption,
                        const QPoint& labelPosition)
{
    outline = placed(new Outline(P1), outlineName, outlineGeometry);
    label = placed(new TransparentLabel(caption, pixelFont(QStringLiteral("Sylfaen"), 17, true),
                                        QColor(0x00, 0x00, 0x80), P1),
                   labelName, labelPosition);
    player = makePlayer(P1, playerName, playerGeometry);
    player->setAllowScriptAccess(true);
    m_selection.addTile(slot, outline);
}

void TFRMfundI::connectHandlers()
{
    const auto onEnter = [this](TShockwaveFlash* player, void (TFRMfundI::*handler)()) {
        connect(player, &TShockwaveFlash::OnEnter, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    onEnter(SWFmat, &TFRMfundI::SWFmatEnter);
    onEnter(SwFport, &TFRMfundI::SwFportEnter);
    onEnter(Swfesso, &TFRMfundI::SwfessoEnter);
    onEnter(SwFing, &TFRMfundI::SwFingEnter);
    onEnter(SwFcie, &TFRMfundI::SwFcieEnter);
    onEnter(SwFinf, &TFRMfundI::SwFinfEnter);

    connect(btok, &QPushButton::clicked, this, [this] { guarded([this] { btokClick(); }); });
    connect(SWFok, &TShockwaveFlash::FSCommand, this,
            [this](const QString& command, const QString& args) {
                guarded([&] { SWFokFSCommand(command, args); });
            });
    connect(SWFvoltar, &TShockwaveFlash::FSCommand, this,
            [this](const QString& command, const QString& args) {
                guarded([&] { SWFvoltarFSCommand(command, args); });
            });
    connect(new FormActivation(this), &FormActivation::activated, this,
            [this] { guarded([this] { FormActivate(); }); });
}

void TFRMfundI::showModal()
{
    ::showModal(*this);
}

void TFRMfundI::showEvent(QShowEvent* event)
{
    centreOnGradeMenu(*this);
    QWidget::showEvent(event);
}

void TFRMfundI::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    QWidget::closeEvent(event);
}

void TFRMfundI::FormCreate()
{
    m_selection.resetCounters(1, 6);

    const QString year = yearCaption(SerieAtual);
    if (!year.isEmpty())
        setWindowTitle(year);

    moveLeft(L4, 103);
    moveLeft(L5, 309);
    moveLeft(L6, 503);
    Shape4->setVisible(true);
    SwFing->setVisible(true);
    moveLeft(Shape5, 263);
    moveLeft(SwFcie, 268);
    moveLeft(Shape6, 463);
    moveLeft(SwFinf, 468);

    // No English in the first two years: the lower row keeps two tiles, centred under the
    // upper row. The offsets are taken from the panel's left in the window, as laid out.
    if (SerieAtual == QLatin1String("1A") || SerieAtual == QLatin1String("2A")) {
        L4->setVisible(false);
        Shape4->setVisible(false);
        SwFing->setVisible(false);
        const int p = P1->x();
        moveLeft(L5, p + 140);
        moveLeft(L6, p + 330);
        moveLeft(Shape5, p + 95);
        moveLeft(SwFcie, p + 100);
        moveLeft(Shape6, p + 295);
        moveLeft(SwFinf, p + 300);
    }

    SWFmostraF1();
}

void TFRMfundI::SWFmostraF1()
{
    SWFok->setMovie(pasta_config + QStringLiteral("Ok.swf"));
    SWFvoltar->setMovie(pasta_config + QStringLiteral("Voltar.swf"));
    SWF1->setMovie(pasta_config + QStringLiteral("logo.swf"));
    SwFport->setMovie(pasta_config + QStringLiteral("efpor.swf"));
    SWFmat->setMovie(pasta_config + QStringLiteral("efmat.swf"));
    SwFcie->setMovie(pasta_config + QStringLiteral("efcie.swf"));
    Swfesso->setMovie(pasta_config + QStringLiteral("efesso.swf"));
    SwFinf->setMovie(pasta_config + QStringLiteral("efinf.swf"));
    SwFing->setMovie(pasta_config + QStringLiteral("efing.swf"));
    SWFok->setVisible(true);
    SWFvoltar->setVisible(true);
}

void TFRMfundI::FormActivate()
{
    m_selection.clearSelection();
}

void TFRMfundI::SWFmatEnter()
{
    m_selection.enter(1);
}

void TFRMfundI::SwFportEnter()
{
    m_selection.enter(2);
}

void TFRMfundI::SwfessoEnter()
{
    m_selection.enter(3);
}

void TFRMfundI::SwFingEnter()
{
    m_selection.enter(4);
}

void TFRMfundI::SwFcieEnter()
{
    m_selection.enter(5);
}

void TFRMfundI::SwFinfEnter()
{
    m_selection.enter(6);
}

void TFRMfundI::btokClick()
{
    P1->setFocus();
    if (m_selection.warnIfNothingSelected())
        return;
    m_selection.resetCounters(1, 6);
    DisciplinaAtual.clear();
    FRMmain->reloadLogo();
    if (FRMAtividades)
        return;
    for (const Subject& subject : subjects) {
        if (m_selection.isSelected(subject.slot))
            DisciplinaAtual = subject.name.toString();
    }
    auto* activities = new TFRMAtividades(this);
    FRMAtividades = activities;
    activities->showModal();
}

void TFRMfundI::SWFokFSCommand(const QString&, const QString&)
{
    btok->click();
}

void TFRMfundI::SWFvoltarFSCommand(const QString& command, const QString&)
{
    if (command == QLatin1String("Voltar"))
        close();
}

void TFRMfundI::FormClose()
{
    // Whatever happens below, the window is freed and its slot is empty before it goes.
    const auto release = qScopeGuard([this] {
        setAttribute(Qt::WA_DeleteOnClose);
        FRMfundI = nullptr;
    });
    for (TShockwaveFlash** player : {&SWFmat, &SwFport, &Swfesso, &SwFing, &SwFcie, &SwFinf}) {
        if (!*player)
            continue;
        (*player)->hide();
        (*player)->deleteLater();
        *player = nullptr;
    }
    FRMmain->SWFmostra();
}

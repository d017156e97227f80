#include "Swf.h"

#include "Ativid.h"
#include "BevelPanel.h"
#include "ContentFolders.h"
#include "ErrorReporting.h"
#include "ModalWindow.h"
#include "TShockwaveFlash.h"
#include "WindowDecor.h"
#include "WindowSlots.h"

#include <QCloseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

TFRMswf::TFRMswf(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FRMswf"));
    resize(1024, 633);

    p1 = new BevelPanel(this);
    p1->setObjectName(QStringLiteral("p1"));
    SWF = new TShockwaveFlash(p1);
    SWF->setObjectName(QStringLiteral("SWF"));
    auto* movieArea = new QVBoxLayout(p1);
    movieArea->setContentsMargins(0, 0, 0, 0);
    movieArea->addWidget(SWF);

    p2 = new BevelPanel(this);
    p2->setObjectName(QStringLiteral("p2"));
    p2->setFixedHeight(41);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(p1, 1);
    layout->addWidget(p2);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(20);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    // The movie's commands are not for this window: nothing listens to SWF's FSCommand.
}

void TFRMswf::showMovie(const QString& path)
{
    SWF->setMovie(path);
}

void TFRMswf::showModal()
{
    // Where no window manager acts on the maximised state, cover the screen all the same.
    setGeometry(screen()->availableGeometry());
    setWindowState(Qt::WindowMaximized);
    showNoTitle(*this);
    ::showModal(*this);
}

void TFRMswf::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    guarded([this] { FormShow(); });
}

void TFRMswf::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    QWidget::closeEvent(event);
}

void TFRMswf::FormShow()
{
    // Quizzes take typed answers and clicks: the movie has the keyboard from the start.
    SWF->setFocus();
    Timer1->start();
}

void TFRMswf::Timer1Timer()
{
    if (SWF->Movie().isEmpty() && FRMAtividades)
        FRMAtividades->Carregar_animacao(
            pasta_prog + mapSeparators(QStringLiteral("\\config\\aguarde_f1.swf")));
}

void TFRMswf::FormClose()
{
    // The waiting-animation check runs only while the window is open.
    Timer1->stop();
    SWF->deleteLater();
    SWF = nullptr;
    setAttribute(Qt::WA_DeleteOnClose);
    FRMswf = nullptr;
}

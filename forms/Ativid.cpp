#include "Ativid.h"

#include "ErrorReporting.h"
#include "FormControls.h"
#include "ModalWindow.h"
#include "WindowSlots.h"

#include <QCloseEvent>
#include <QLabel>

TFRMAtividades::TFRMAtividades(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FRMAtividades"));
    setWindowTitle(QStringLiteral("Atividades"));
    setFixedSize(790, 536);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    auto* chosen = new QLabel(SerieAtual + QStringLiteral(" - ") + DisciplinaAtual, this);
    chosen->setObjectName(QStringLiteral("chosen"));
    chosen->setGeometry(rect());
    chosen->setAlignment(Qt::AlignCenter);
}

void TFRMAtividades::showModal()
{
    ::showModal(*this);
}

void TFRMAtividades::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    QWidget::closeEvent(event);
}

void TFRMAtividades::FormClose()
{
    setAttribute(Qt::WA_DeleteOnClose);
    FRMAtividades = nullptr;
}

#include "Ativid.h"

#include "BevelPanel.h"
#include "CatalogModel.h"
#include "ContentFolders.h"
#include "ContentPath.h"
#include "ErrorReporting.h"
#include "FormControls.h"
#include "ModalWindow.h"
#include "Outline.h"
#include "ProgramStarter.h"
#include "Swf.h"
#include "TShockwaveFlash.h"
#include "TransparentLabel.h"
#include "WindowDecor.h"
#include "WindowSlots.h"

#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTableView>

namespace
{

QRadioButton* makeOption(QWidget* window, const QString& name, const QString& caption,
                         const QRect& geometry, const QColor& background)
{
    auto* option = placed(new QRadioButton(caption, window), name, geometry);
    option->setFont(pixelFont(QStringLiteral("Tahoma"), 16, true));
    option->setAutoFillBackground(true);
    QPalette colours = option->palette();
    colours.setColor(QPalette::WindowText, QColor(0xFF, 0x00, 0x00));
    colours.setColor(QPalette::Window, background);
    option->setPalette(colours);
    return option;
}

std::string toEngine(const QString& text)
{
    return text.toUtf8().toStdString();
}

// Catalog paths begin with a separator and are appended to the program folder as they are.
QString activityPath(std::string_view caminho)
{
    return pasta_prog
           + mapSeparators(
               QString::fromUtf8(caminho.data(), static_cast<qsizetype>(caminho.size())));
}

} // namespace

TFRMAtividades::TFRMAtividades(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FRMAtividades"));
    setWindowTitle(QStringLiteral("Atividades"));
    setFixedSize(790, 536);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    catalog::useCatalogIndex(cdxtb);

    Image1 = makeBackdrop(this);
    SWF1 = makePlayer(this, QStringLiteral("SWF1"), QRect(339, 11, 121, 69));
    Label7 = makeBrandLine(this, QPoint(224, 95));
    r2 = makeOption(this, QStringLiteral("r2"), QStringLiteral("Tarvik"), QRect(60, 47, 113, 17),
                    QColor(0x00, 0xDD, 0xDD));
    r1 = makeOption(this, QStringLiteral("r1"), QStringLiteral("Morelo"), QRect(61, 73, 107, 17),
                    QColor(0x00, 0xCA, 0xCA));
    r2->setChecked(true);
    Label3 = placed(new TransparentLabel(QStringLiteral("Pesquisa:"),
                                         pixelFont(QStringLiteral("MS Sans Serif"), 16, true),
                                         QColor(0, 0, 0), this),
                    QStringLiteral("Label3"), QPoint(564, 46));
    e1 = placed(new QLineEdit(this), QStringLiteral("e1"), QRect(560, 66, 201, 21));
    buildList();
    SWFsair = makePlayer(this, QStringLiteral("SWFsair"), QRect(644, 486, 48, 23));
    setTabOrder();
    connectHandlers();
    guarded([this] { FormCreate(); });
}

void TFRMAtividades::buildList()
{
    P1 = placed(new BevelPanel(this), QStringLiteral("P1"), QRect(54, 117, 688, 333));
    P1->setBorderWidth(2);
    ScrollBox1 = placed(new QFrame(P1), QStringLiteral("ScrollBox1"), P1->contentsRect());
    ScrollBox1->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    const QPoint client(ScrollBox1->frameWidth(), ScrollBox1->frameWidth());
    Shape1 = placed(new Outline(ScrollBox1), QStringLiteral("Shape1"),
                    QRect(QPoint(16, 3) + client, QSize(661, 317)));

    // A fixed-size white strip with no text, above the list.
    lser = placed(new QLabel(ScrollBox1), QStringLiteral("lser"),
                  QRect(QPoint(192, 10) + client, QSize(265, 20)));
    lser->setAlignment(Qt::AlignCenter);
    lser->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 13));
    lser->setAutoFillBackground(true);
    QPalette strip = lser->palette();
    strip.setColor(QPalette::Window, Qt::white);
    strip.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xA0));
    lser->setPalette(strip);

    m_model = new CatalogModel(cdxtb, this);
    DBGrid1 = placed(new QTableView(this), QStringLiteral("DBGrid1"), QRect(88, 148, 617, 273));
    DBGrid1->setModel(m_model);
    DBGrid1->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 13));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setTabKeyNavigation(false);
    DBGrid1->setShowGrid(true);
    DBGrid1->setWordWrap(false);
    DBGrid1->setCornerButtonEnabled(false);

    QHeaderView* titles = DBGrid1->horizontalHeader();
    titles->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    titles->setSectionsClickable(false);
    titles->setSectionsMovable(false);
    titles->setSectionResizeMode(QHeaderView::Fixed);
    titles->setHighlightSections(false);
    titles->resizeSection(static_cast<int>(CatalogModel::Column::Disciplina), 103);
    titles->resizeSection(static_cast<int>(CatalogModel::Column::Descricao), 331);

    QHeaderView* indicator = DBGrid1->verticalHeader();
    indicator->setSectionsClickable(false);
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 4);
    indicator->setMinimumWidth(12);
    indicator->setDefaultAlignment(Qt::AlignCenter);
    indicator->setFont(pixelFont(QStringLiteral("DejaVu Sans"), 9));

    // A double-click anywhere on the grid, titles and empty area included, opens the current
    // record.
    DBGrid1->installEventFilter(this);
    DBGrid1->viewport()->installEventFilter(this);
    titles->viewport()->installEventFilter(this);
    indicator->viewport()->installEventFilter(this);
}

void TFRMAtividades::setTabOrder()
{
    // Panels and labels take no focus; of the two options Qt only tabs to the chosen one.
    QWidget::setTabOrder(SWF1, SWFsair);
    QWidget::setTabOrder(SWFsair, DBGrid1);
    QWidget::setTabOrder(DBGrid1, r2);
    QWidget::setTabOrder(r2, r1);
    QWidget::setTabOrder(r1, e1);
}

void TFRMAtividades::connectHandlers()
{
    connect(r1, &QRadioButton::toggled, this, [this](bool chosen) {
        if (chosen)
            guarded([this] { r1Click(); });
    });
    connect(r2, &QRadioButton::toggled, this, [this](bool chosen) {
        if (chosen)
            guarded([this] { r2Click(); });
    });
    connect(e1, &QLineEdit::textChanged, this, [this] { guarded([this] { e1Change(); }); });
    connect(SWFsair, &TShockwaveFlash::FSCommand, this,
            [this](const QString& command, const QString& args) {
                guarded([&] { SWFsairFSCommand(command, args); });
            });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && cdxtb.active()) {
                    cdxtb.setRecNo(static_cast<std::size_t>(current.row()));
                    m_model->setCurrentRow(current.row());
                }
            });
}

void TFRMAtividades::showModal()
{
    ::showModal(*this);
}

void TFRMAtividades::showEvent(QShowEvent* event)
{
    centreOnGradeMenu(*this);
    QWidget::showEvent(event);
}

void TFRMAtividades::closeEvent(QCloseEvent* event)
{
    guarded([this] { FormClose(); });
    QWidget::closeEvent(event);
}

bool TFRMAtividades::eventFilter(QObject* watched, QEvent* event)
{
    if (opensCurrentRecord(watched, event)) {
        guarded([this] { DBGrid1DblClick(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TFRMAtividades::opensCurrentRecord(const QObject* watched, const QEvent* event) const
{
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        return static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
    // So that the list can be used without a mouse: Return does what a double-click does.
    case QEvent::KeyPress: {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        return watched == DBGrid1 && (key == Qt::Key_Return || key == Qt::Key_Enter);
    }
    default:
        return false;
    }
}

void TFRMAtividades::FormCreate()
{
    SWFmostra();
    const QString year = yearCaption(SerieAtual);
    if (!year.isEmpty())
        setWindowTitle(QStringLiteral("Atividades - ") + year);
    if (r1->isChecked())
        openCatalog(catalog::View::Lessons);
    if (r2->isChecked())
        openCatalog(catalog::View::Quizzes);
}

void TFRMAtividades::SWFmostra()
{
    SWF1->setMovie(pasta_config + QStringLiteral("logo.swf"));
    SWFsair->setMovie(pasta_config + QStringLiteral("Voltar.swf"));
    SWF1->setVisible(true);
    SWFsair->setVisible(true);
}

void TFRMAtividades::openCatalog(catalog::View view)
{
    const QString fileName = resolveContentPath(pasta_config + QStringLiteral("ketmo.xml"));
    // Also when the open fails half-way (a filter field missing leaves the whole catalog open):
    // the row the list marks must be the record a double-click opens.
    const auto showRecord = qScopeGuard([this] {
        showCurrentRecord();
        expectListedMovies();
    });
    m_model->change([&] {
        catalog::openWithFilter(cdxtb, QFile::encodeName(fileName).toStdString(), view,
                                toEngine(SerieAtual), toEngine(DisciplinaAtual));
    });
}

void TFRMAtividades::showCurrentRecord()
{
    const auto row = static_cast<int>(cdxtb.recNo());
    m_model->setCurrentRow(row);
    if (row < 0)
        return;
    const QModelIndex current = m_model->index(row, 0);
    DBGrid1->setCurrentIndex(current);
    DBGrid1->scrollTo(current);
}

void TFRMAtividades::expectListedMovies()
{
    QStringList paths;
    if (const auto field = cdxtb.findField("caminho")) {
        for (std::size_t row = 0; row < cdxtb.recordCount(); ++row) {
            if (const auto caminho = cdxtb.value(row, *field))
                paths.append(activityPath(*caminho));
        }
    }
    // While the child reads the list, a movie that needs Ruffle gets its engine ready.
    TShockwaveFlash::expectMovies(this, paths);
}

void TFRMAtividades::r1Click()
{
    openCatalog(catalog::View::Lessons);
}

void TFRMAtividades::r2Click()
{
    openCatalog(catalog::View::Quizzes);
}

void TFRMAtividades::e1Change()
{
    if (catalog::search(cdxtb, toEngine(e1->text())))
        showCurrentRecord();
}

void TFRMAtividades::DBGrid1DblClick()
{
    const bool isProgram = cdxtb.fieldByName("executavel") == "S";
    const QString path = activityPath(cdxtb.fieldByName("caminho"));
    if (isProgram)
        startProgram(path);
    Carregar_animacao(path);
}

void TFRMAtividades::Carregar_animacao(const QString& path)
{
    if (FRMswf) {
        FRMswf->showMovie(path);
        return;
    }
    auto* player = new TFRMswf(this);
    FRMswf = player;
    player->showMovie(path);
    player->showModal();
}

void TFRMAtividades::SWFsairFSCommand(const QString& command, const QString& /*args*/)
{
    if (command == QLatin1String("Voltar"))
        close();
}

void TFRMAtividades::FormClose()
{
    setAttribute(Qt::WA_DeleteOnClose);
    FRMAtividades = nullptr;
}

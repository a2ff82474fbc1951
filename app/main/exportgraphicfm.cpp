#include "exportgraphicfm.h"

#include "ascanvas.h"
#include "filefolders.h"
#include "globals.h"
#include "hintfm.h"
#include "layoutsettings.h"
#include "myoverrides.h"
#include "pageparts.h"
#include "paintbox.h"
#include "prompter.h"
#include "ui_exportgraphicfm.h"
#include "uidialogs.h"
#include "wysiwyg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>

TExportGraphicFm *ExportGraphicFm = nullptr;

namespace {

const QString kNothingSelected =
    QStringLiteral("Please indicate what you want to export by clicking on at least one of the checkboxes.");

} // namespace

TExportGraphicFm::TExportGraphicFm(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TExportGraphicFm>())
{
    m_ui->setupUi(this);
    ExportPageCmBx = m_ui->ExportPageCmBx;
    IncludeTitleCB = m_ui->IncludeTitleCB;
    IncludeGridCB = m_ui->IncludeGridCB;
    IncludeCluesCB = m_ui->IncludeCluesCB;
    IncludeWordbankCB = m_ui->IncludeWordbankCB;
    ExportSaveBtn = m_ui->ExportSaveBtn;
    CopyToClipboardBtn = m_ui->CopyToClipboardBtn;
    ExplainHowToUseEmfLnk = m_ui->ExplainHowToUseEmfLnk;
    ExportPreviewPB = new TPaintBox(m_ui->PreviewHolder, QStringLiteral("ExportPreviewPB"));
    auto *holder = new QGridLayout(m_ui->PreviewHolder);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(ExportPreviewPB, 0, 0);
    ExportPreviewPB->OnPaint = [this](QPainter &painter) { ExportPreviewPBPaint(painter); };
    QPalette link = ExplainHowToUseEmfLnk->palette();
    link.setColor(QPalette::WindowText, Qt::blue);
    ExplainHowToUseEmfLnk->setPalette(link);
    ExplainHowToUseEmfLnk->setCursor(Qt::PointingHandCursor);
    ExplainHowToUseEmfLnk->installEventFilter(this);
    setModal(false);

    connect(ExportPageCmBx, &QComboBox::currentIndexChanged, this, &TExportGraphicFm::ExportPageCmBxChange);
    for (QCheckBox *box : {IncludeGridCB, IncludeCluesCB, IncludeWordbankCB})
        connect(box, &QCheckBox::clicked, this, &TExportGraphicFm::AnyBoxClick);
    connect(IncludeTitleCB, &QCheckBox::clicked, this, &TExportGraphicFm::IncludeTitleCBClick);
    connect(ExportSaveBtn, &QPushButton::clicked, this, &TExportGraphicFm::ExportSaveBtnClick);
    connect(CopyToClipboardBtn, &QPushButton::clicked, this, &TExportGraphicFm::CopyToClipboardBtnClick);
    if (!ExportGraphicFm)
        ExportGraphicFm = this;
}

TExportGraphicFm::~TExportGraphicFm()
{
    if (ExportGraphicFm == this)
        ExportGraphicFm = nullptr;
}

void TExportGraphicFm::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

bool TExportGraphicFm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ExplainHowToUseEmfLnk && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        ExplainHowToUseEmfLnkClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TExportGraphicFm::FormShow()
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ColorFromWin(ColorScheme));
    setPalette(palette);
    RefreshPages();
}

int TExportGraphicFm::SelectedPage() const { return std::max(1, ExportPageCmBx->currentIndex() + 1); }

void TExportGraphicFm::RefreshPages()
{
    if (ExportPageCmBx->count() != PageCount) {
        // Rebuilt only when the count changes, and quietly: the list's own change signal would
        // otherwise come back here.
        const QSignalBlocker quiet(ExportPageCmBx);
        const int previous = ExportPageCmBx->currentIndex() + 1;
        const bool wasLast = previous > 0 && previous == ExportPageCmBx->count();
        ExportPageCmBx->clear();
        for (int n = 1; n <= PageCount; ++n) {
            QString caption = QStringLiteral("Page %1").arg(n);
            if (n == PuzzlePage)
                caption += QStringLiteral(" (Puzzle)");
            else if (n == SolutionPage)
                caption += QStringLiteral(" (Solution)");
            ExportPageCmBx->addItem(caption);
        }
        const int page = wasLast ? PageCount : std::clamp(previous, 1, std::max(1, PageCount - 1));
        ExportPageCmBx->setCurrentIndex(page - 1);
    }
    UpdateBoxes();
    ExportPreviewPB->update();
}

void TExportGraphicFm::UpdateBoxes()
{
    const int p = SelectedPage();
    IncludeTitleCB->setEnabled(PageRuleB(p));
    IncludeGridCB->setEnabled(p == PuzzlePage || p == SolutionPage);
    const bool cluesOnPage2 = SeparateClues && PuzzlePage == 1;
    IncludeCluesCB->setEnabled(!(p >= SolutionPage || (p == 1 && cluesOnPage2)));
    IncludeWordbankCB->setEnabled(p == WordBankPage && DocControls.WordBankCB);
}

int TExportGraphicFm::Flags() const
{
    const int p = SelectedPage();
    auto on = [](const QCheckBox *box) { return box->isEnabled() && box->isChecked(); };
    int flags = 0;
    if (p < SolutionPage) {
        if (on(IncludeGridCB))
            flags |= PartGrid;
        if (on(IncludeCluesCB))
            flags |= PartClues;
        if (on(IncludeWordbankCB))
            flags |= PartWordBank;
    } else if (on(IncludeGridCB)) {
        flags |= PartSolution;
    }
    if (on(IncludeTitleCB))
        flags |= PartTitles;
    return flags;
}

void TExportGraphicFm::ExportPageCmBxChange()
{
    UpdateBoxes();
    ExportPreviewPB->update();
}

void TExportGraphicFm::AnyBoxClick() { ExportPreviewPB->update(); }

void TExportGraphicFm::IncludeTitleCBClick()
{
    if (IncludeTitleCB->isChecked() && DocControls.PuzzleTitle.trimmed().isEmpty() &&
        DocControls.PuzzleSubtitle.trimmed().isEmpty() && HintFm) {
        const QPoint at = m_ui->ControlPnl->mapToGlobal(QPoint(m_ui->ControlPnl->width() + 50, 0));
        HintFm->ShowBalloon(QStringLiteral("Your title is empty.") + ParagraphBreak +
                                QStringLiteral("You can provide a title on the main form, ") +
                                QStringLiteral("in the \"Step 1 -- Puzzle Type\" area."),
                            at.x(), 60, frameGeometry().top() + 100);
    }
    ExportPreviewPB->update();
}

void TExportGraphicFm::ExplainHowToUseEmfLnkClick()
{
    if (!HintFm)
        return;
    const QPoint at = m_ui->ControlPnl->mapToGlobal(QPoint(m_ui->ControlPnl->width() + 50, 0));
    HintFm->ShowBalloon(
        QStringLiteral(
            "The \"Export To File\" button puts the selected graphic into a file. The file name should "
            "end with \".emf\".  ") +
            ParagraphBreak + QStringLiteral("You can import this graphic file into other programs. ") +
            QStringLiteral("(For example, for Microsoft Word, pull down the \"Insert\" menu, ") +
            QStringLiteral("select \"Picture\" and then select \"From File....\")"),
        at.x(), 90, frameGeometry().bottom() - 150);
}

bool TExportGraphicFm::NothingSelected()
{
    if (!PagePartsBounds(SelectedPage(), Flags()).Empty())
        return false;
    showInformation(kNothingSelected);
    return true;
}

void TExportGraphicFm::CopyToClipboardBtnClick()
{
    if (NothingSelected())
        return;
    CopyPagePartsToClipboard(SelectedPage(), Flags());
}

void TExportGraphicFm::ExportSaveBtnClick()
{
    if (NothingSelected())
        return;
    const QString proposed = ProposedDocumentFileName(TFileKind::Graphic, QStringLiteral(".emf"));
    const QString chosen =
        uiDialogs().SaveFileName(this, QStringLiteral("Export As Graphic"), proposed,
                                 QStringLiteral("Enhanced Metafiles (*.emf);;All files (*)"));
    if (chosen.isEmpty())
        return;
    const QString name = MetafileFileName(chosen);
    if (!mayReplaceFile(name))
        return;
    RememberFolder(TFileKind::Graphic, name);
    TPagePartsPicture picture;
    QString error;
    if (!RenderPagePartsPicture(SelectedPage(), Flags(), &picture) || !SaveMetafile(picture, name, &error))
        showError(QStringLiteral("The graphic could not be saved to %1. %2")
                      .arg(QDir::toNativeSeparators(name), error));
}

void TExportGraphicFm::ExportPreviewPBPaint(QPainter &painter)
{
    const int w = ExportPreviewPB->width(), h = ExportPreviewPB->height();
    painter.fillRect(ExportPreviewPB->rect(), ColorFromWin(DesktopPanelColor));
    const int page = SelectedPage();
    const int flags = Flags();
    const TPartsBounds bounds = PagePartsBounds(page, flags);
    if (bounds.Empty() || w < 10 || h < 10)
        return;
    TAsCanvas cv;
    cv.SetTarget({h, w});
    TPageRect view = bounds.Rect;
    InflateRectInches(view, -0.25);
    cv.Zoom = 1.0;
    cv.ZoomToRect(view.Left, view.Top, view.Right, view.Bottom);
    cv.Bitmap()->fill(ColorFromWin(DesktopPanelColor));
    // The picture's frame: white, a thin black line, and handles at its corners and sides.
    TPageRect frame = bounds.Rect;
    InflateRectInches(frame, -0.1);
    cv.Pen.Color = 0;
    cv.SetPenWidth(0.01);
    cv.Brush.Clear = false;
    cv.Brush.Color = 0xFFFFFF;
    cv.Rectangle(frame.Left, frame.Top, frame.Right, frame.Bottom);
    const double midX = (frame.Left + frame.Right) / 2, midY = (frame.Top + frame.Bottom) / 2;
    const struct {
        double x, y;
        int dx, dy;
    } handles[8] = {{frame.Left, frame.Top, 2, 2},   {midX, frame.Top, -2, 2},
                    {frame.Right, frame.Top, -7, 2}, {frame.Left, midY, 2, -2},
                    {frame.Right, midY, -7, -2},     {frame.Left, frame.Bottom, 2, -7},
                    {midX, frame.Bottom, -2, -7},    {frame.Right, frame.Bottom, -7, -7}};
    for (const auto &handle : handles)
        cv.FillSquare(5, handle.dx, handle.dy, handle.x, handle.y);
    RenderPageParts(cv, page, flags);
    painter.drawImage(0, 0, *cv.Bitmap());
}

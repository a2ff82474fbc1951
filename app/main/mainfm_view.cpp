// The document view: view modes, tabs and the View menu, zoom and scrolling, the page compose
// and the painting of single grid cells (also what the engine's draw-cell callbacks reach).
#include "hintfm.h"
#include "mainfm.h"

#include "alphabet.h"
#include "ascanvas.h"
#include "checkpts.h"
#include "globals.h"
#include "layoutsettings.h"
#include "myoverrides.h"
#include "trv600.h"
#include "viewpaint.h"
#include "viewport.h"
#include "wysiwyg.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr double MinZoom = 10;
constexpr double MaxZoom = 500;
constexpr double FallbackZoom = 37;
constexpr double FallbackInchesPerPixel = 0.03;

const QString PenciledCaption = QStringLiteral("Penciled-In Grid*");

// Pending paints of a cell.
constexpr unsigned char MarkWholeCell = 1; // colour, then letter and number
constexpr unsigned char MarkLetter = 2;    // letter and number only

constexpr TColor Silver = 0xC0C0C0;

bool finitePositive(double v) { return std::isfinite(v) && v > 0; }

QRect toQRect(const TPixelRect &r) { return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1)); }

char cellCode(int column, int row) { return TRVGetCell(column, row); }

bool isRemoved(int column, int row) { return cellCode(column, row) == TRV_REMOVED; }

} // namespace

// ---- Geometry -------------------------------------------------------------------------------------

bool TMainFm::QuantizeZoom(double zoom, double pixelsPerInch, double cellWidth, double *inchesPerPixel,
                           double *zoomUsed)
{
    // A cell is between a hundredth of an inch and a hundred inches on any page this program
    // makes; anything else comes from a damaged file.
    if (!std::isfinite(zoom) || !finitePositive(pixelsPerInch) || pixelsPerInch > 10000 ||
        !std::isfinite(cellWidth) || cellWidth < 0.01 || cellWidth > 100)
        return false;
    zoom = std::clamp(zoom, MinZoom, MaxZoom);
    // zoom(i) = 100 i / (ppi x cellWidth) grows with i: start just below the answer. A zoom
    // equal to one of the steps (within rounding) keeps that step, so asking again for the zoom
    // in use changes nothing.
    const double perStep = 100 / (pixelsPerInch * cellWidth);
    int i = std::max(2, static_cast<int>(std::floor(zoom / perStep)) - 1);
    for (int steps = 0; steps < 8; ++steps, ++i) {
        const double z = perStep * i;
        if (z * (1 + 1e-9) > zoom) {
            *inchesPerPixel = cellWidth / i;
            *zoomUsed = z;
            return true;
        }
    }
    return false;
}

void TMainFm::SetZoomAndCentre(double zoom, double x, double y)
{
    double ipp = FallbackInchesPerPixel;
    double used = FallbackZoom;
    if (!QuantizeZoom(zoom, PixelsPerInch, CellWidth, &ipp, &used)) {
        ipp = FallbackInchesPerPixel;
        used = FallbackZoom;
    }
    if (!std::isfinite(x) || !std::isfinite(y)) {
        x = PaperWidth / 2;
        y = PaperHeight / 2;
    }
    Zoom = used;
    InchesPerPixel = ipp;
    ViewCenterX = x;
    ViewCenterY = y;
    const double halfWidth = ViewPort->width() * ipp / 2;
    const double halfHeight = ViewPort->height() * ipp / 2;
    ViewPageRect = {x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};

    GridLinePixelWidth = std::max(1, RoundToPixel(GridLineThickness / ipp));
    const double cellPixels = std::min(CellWidth, CellHeight) / ipp;
    const double solutionPixels = std::min(GetCellWidth(), GetCellHeight()) / ipp;
    ViewMetrics.PuzzleNumberPixelHeight = RoundToPixel(cellPixels * CellNumberPercent / 100);
    ViewMetrics.PencilLetterPixelHeight = RoundToPixel(cellPixels * PencilSize / 100);
    ViewMetrics.SolutionLetterPixelHeight = RoundToPixel(solutionPixels * CellLetterPercent / 100);
    ViewMetrics.SolutionNumberPixelHeight = RoundToPixel(solutionPixels * CellNumberPercent / 100);

    // The sheets the grid spans; the grid page shows all of them.
    ComputeGridTiles();
    const double printableWidth = PrintableWidth();
    const double printableHeight = PrintableHeight();
    TPageRect all = PageRect;
    if (CurrentPage == PuzzlePage) {
        all.Right = std::max(PaperWidth, PageRightMarginSum() + GridTileColumns * printableWidth);
        all.Bottom = std::max(PaperHeight, PageBottomMarginSum() + GridTileRows * printableHeight);
    }
    m_allPagesRect = all;
    ViewMetrics.AllPagesPixelRect = PageRectToPixels(all);
}

void TMainFm::FitViewGeometry(int mode)
{
    // The grids stand where the page model puts them.
    UpdateGridPosition();
    const double width = ViewPort->width();
    const double height = ViewPort->height();
    const bool empty = width <= 0 || height <= 0 || !finitePositive(PixelsPerInch);
    auto fitRect = [&](const TPageRect &r, double factor) {
        const double ipp = std::max((r.Bottom - r.Top) / height, (r.Right - r.Left) / width);
        const double zoom = empty || !finitePositive(ipp) ? FallbackZoom : factor / (PixelsPerInch * ipp);
        SetZoomAndCentre(zoom, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    switch (mode) {
    case vmWholePage: fitRect(PageRect, 90); break;
    case vmPageWidth: {
        const double ipp = PaperWidth / width;
        const double zoom = empty || !finitePositive(ipp) ? FallbackZoom : 90 / (PixelsPerInch * ipp);
        SetZoomAndCentre(zoom, PaperWidth / 2, 0);
        // The top of the page at the top of the view.
        SetZoomAndCentre(Zoom, PaperWidth / 2, empty ? PaperHeight / 2 : height * InchesPerPixel / 2);
        break;
    }
    case vmPenciled: {
        const TPageRect first = CellPageRect(1, 1);
        const TPageRect last = CellPageRect(Columns, Rows);
        fitRect({first.Left, first.Top, last.Right, last.Bottom}, 88);
        break;
    }
    case vmClues: {
        // The clue area of the clues' page: its boxes that hold lines (the page without any).
        const int page = CluesViewPage();
        TPageRect area = PageRect;
        bool any = false;
        if (ClueBoxesReady && page >= 1 && page <= MaxLayoutPages)
            for (int j = 1; j <= ClueBoxCount[page]; ++j) {
                if (LineMap[page][j] <= 0)
                    continue;
                if (!any)
                    area = ClueBoxes[page][j];
                else
                    MergeBounds(area, ClueBoxes[page][j]);
                any = true;
            }
        fitRect(area, 88);
        break;
    }
    case vmSolution: {
        const TPageRect first = CellPageRectFor(1, 1);
        const TPageRect last = CellPageRectFor(Columns, Rows);
        fitRect({first.Left, first.Top, last.Right, last.Bottom}, 88);
        break;
    }
    default: SetZoomAndCentre(CustomZoom, CustomCenterX, CustomCenterY); break;
    }
}

void TMainFm::FreeZoom(double zoom, double x, double y)
{
    CustomPage = CurrentPage;
    if (!CustomViewExists) {
        CustomViewExists = true;
        SetPageCount(PageCount, 2);
    }
    if (ViewTabCaption() != QLatin1String("Custom"))
        SelectViewTab(QStringLiteral("Custom"));
    SetViewMode(vmCustom, 0);
    SetZoomAndCentre(zoom, x, y);
    CustomZoom = Zoom;
    CustomCenterX = ViewCenterX;
    CustomCenterY = ViewCenterY;
}

// ---- Modes, tabs and menu ---------------------------------------------------------------------------

void TMainFm::SetViewMode(int mode, int how)
{
    View = mode;
    for (int i = 0; i < 9; ++i)
        mViewPage[i]->setChecked(mode == vmWholePage && CurrentPage == i + 1);
    mViewPageWidth->setChecked(mode == vmPageWidth);
    mViewPuzzle->setChecked(mode == vmPenciled);
    mViewClues->setChecked(mode == vmClues);
    mViewSolution->setChecked(mode == vmSolution);
    mViewCustom->setChecked(mode == vmCustom);
    if (how < 1)
        return;
    FitViewGeometry(mode);
    if (how < 2)
        return;
    static const char *const tabs[] = {nullptr, nullptr, "Penciled", "Clues", "Solution", "Custom"};
    SelectViewTab(mode <= vmPageWidth || mode > vmCustom ? QStringLiteral("Page %1").arg(CurrentPage)
                                                         : QString::fromLatin1(tabs[mode]));
    TRVInvalidateDisplay();
    InvalidateView();
}

void TMainFm::RedrawView() { SetViewMode(View, 2); }

void TMainFm::ShowPenciledView()
{
    SetCurrentPage(PuzzlePage);
    SetViewMode(vmPenciled, 2);
}

void TMainFm::ShowCluesView()
{
    SetCurrentPage(CluesViewPage());
    SetViewMode(vmClues, 2);
}

void TMainFm::ShowSolutionView()
{
    SetCurrentPage(SolutionPage);
    SetViewMode(vmSolution, 2);
}

void TMainFm::ShowCustomView()
{
    SetCurrentPage(CustomPage);
    SetViewMode(vmCustom, 2);
}

int TMainFm::CluesViewPage() const { return SeparateClues && PuzzlePage == 1 ? 2 : 1; }

QString TMainFm::ViewTabCaption() const
{
    const int i = ViewTabCtl->currentIndex();
    return i < 0 ? QString() : ViewTabCtl->tabText(i);
}

bool TMainFm::IsPenciledViewActive() const { return ViewTabCaption().contains(QLatin1String("Penciled")); }

bool TMainFm::SelectViewTab(const QString &text)
{
    int found = 0;
    for (int i = 0; i < ViewTabCtl->count(); ++i)
        if (ViewTabCtl->tabText(i).startsWith(text)) {
            found = i;
            break;
        }
    const QSignalBlocker quiet(ViewTabCtl);
    ViewTabCtl->setCurrentIndex(found);
    return true;
}

void TMainFm::ShowViewTab(const QString &text)
{
    SelectViewTab(text);
    ViewTabCtlChange();
}

void TMainFm::ShowViewTabIfOther(const QString &text)
{
    const QString current = ViewTabCaption();
    if (current != QLatin1String("Custom")) {
        if (text == PenciledCaption) {
            if (CurrentPage != PuzzlePage)
                ShowViewTab(text);
            return;
        }
        for (int n = 1; n <= 9; ++n)
            if (text == QStringLiteral("Page %1").arg(n)) {
                if (CurrentPage != n)
                    ShowViewTab(text);
                return;
            }
        return;
    }
    if (current != text)
        ShowViewTab(text);
}

void TMainFm::ViewTabCtlChanging(int)
{
    TakeCheckPoint(TCheckPointKind::ViewTab, QStringLiteral("view tab change"));
}

void TMainFm::ViewTabCtlChange()
{
    const QString caption = ViewTabCaption();
    if (caption.startsWith(QLatin1String("Page"))) {
        bool ok = false;
        int page = caption.mid(5, 9).trimmed().toInt(&ok);
        if (!ok || page < 1)
            page = 1;
        SetCurrentPage(std::min(page, PageCount));
        SetViewMode(vmWholePage, 2);
    } else if (caption.contains(PenciledCaption)) {
        ShowPenciledView();
    } else if (caption.contains(QLatin1String("Clues"))) {
        ShowCluesView();
    } else if (caption.contains(QLatin1String("Solution"))) {
        ShowSolutionView();
    } else if (caption.contains(QLatin1String("Custom"))) {
        ShowCustomView();
    }
}

void TMainFm::SetPageCount(int count, int how)
{
    const bool changed = count != PageCount;
    PageCount = SolutionPage = count;
    if (how == 0 || (how == 1 && !changed))
        return;
    for (int i = 1; i < 9; ++i)
        mViewPage[i]->setVisible(i < count);
    mViewCustom->setVisible(CustomViewExists);
    const QString current = ViewTabCaption();
    const QSignalBlocker quiet(ViewTabCtl);
    while (ViewTabCtl->count() > 0)
        ViewTabCtl->removeTab(0);
    for (int n = 1; n <= count; ++n)
        ViewTabCtl->addTab(QStringLiteral("Page %1").arg(n));
    for (const QString &caption : {PenciledCaption, QStringLiteral("Clues"), QStringLiteral("Solution")})
        ViewTabCtl->addTab(caption);
    if (CustomViewExists)
        ViewTabCtl->addTab(QStringLiteral("Custom"));
    int keep = 0;
    for (int i = 0; i < ViewTabCtl->count(); ++i)
        if (ViewTabCtl->tabText(i) == current)
            keep = i;
    ViewTabCtl->setCurrentIndex(keep);
}

void TMainFm::SetCurrentPage(int page) { ::SetCurrentPage(page); }

void TMainFm::mViewPageAnyClick(QAction *item) { ShowViewTab(item->text().remove(QLatin1Char('&'))); }

void TMainFm::mViewPuzzleClick() { ShowViewTab(PenciledCaption); }
void TMainFm::mViewCluesClick() { ShowViewTab(QStringLiteral("Clues")); }
void TMainFm::mViewSolutionClick() { ShowViewTab(QStringLiteral("Solution")); }
void TMainFm::mViewCustomClick() { ShowViewTab(QStringLiteral("Custom")); }

void TMainFm::mViewZoomInClick()
{
    FreeZoom(Zoom * 1.5, (ViewPageRect.Left + ViewPageRect.Right) / 2,
             (ViewPageRect.Top + ViewPageRect.Bottom) / 2);
    TRVInvalidateDisplay();
    InvalidateView();
}

void TMainFm::mViewZoomOutClick()
{
    FreeZoom(Zoom * 0.667, (ViewPageRect.Left + ViewPageRect.Right) / 2,
             (ViewPageRect.Top + ViewPageRect.Bottom) / 2);
    TRVInvalidateDisplay();
    InvalidateView();
}

void TMainFm::mViewPageWidthClick()
{
    const double width = ViewPort->width();
    const double height = ViewPort->height();
    double zoom = FallbackZoom;
    double ipp = FallbackInchesPerPixel;
    if (width > 0 && height > 0 && finitePositive(PaperWidth / width) && finitePositive(PixelsPerInch)) {
        ipp = PaperWidth / width;
        zoom = 90 / (PixelsPerInch * ipp);
    }
    FreeZoom(zoom, PaperWidth / 2, PaperHeight / 2);
    const double top = width > 0 && height > 0 ? height * InchesPerPixel / 2 : PaperHeight / 2;
    FreeZoom(Zoom, PaperWidth / 2, top);
    TRVInvalidateDisplay();
    InvalidateView();
}

// ---- Scroll bars ----------------------------------------------------------------------------------

void TMainFm::SetScrollBars()
{
    // A position is the view centre's distance in pixels from the page area's left or top edge.
    const TPageRect &all = m_allPagesRect;
    const QSignalBlocker quietH(ViewPortHorzScrollbar);
    const QSignalBlocker quietV(ViewPortVertScrollbar);
    const int width = std::max(0, RoundToPixel((all.Right - all.Left) / InchesPerPixel));
    const int height = std::max(0, RoundToPixel((all.Bottom - all.Top) / InchesPerPixel));
    ViewPortHorzScrollbar->setRange(0, width);
    ViewPortHorzScrollbar->setPageStep(std::max(1, ViewPort->width()));
    ViewPortHorzScrollbar->setSingleStep(std::max(1, width / 40));
    ViewPortHorzScrollbar->setValue(RoundToPixel((ViewCenterX - all.Left) / InchesPerPixel));
    ViewPortVertScrollbar->setRange(0, height);
    ViewPortVertScrollbar->setPageStep(std::max(1, ViewPort->height()));
    ViewPortVertScrollbar->setSingleStep(std::max(1, height / 40));
    ViewPortVertScrollbar->setValue(RoundToPixel((ViewCenterY - all.Top) / InchesPerPixel));
}

void TMainFm::ViewPortScroll(int action)
{
    if (action == QAbstractSlider::SliderNoAction)
        return;
    // A scroll by the user is a view of its own: the custom view, at the same zoom.
    TakeCheckPoint(TCheckPointKind::Scroll, QStringLiteral("scroll"));
    CustomPage = CurrentPage;
    if (!CustomViewExists) {
        CustomViewExists = true;
        SetPageCount(PageCount, 2);
    }
    if (ViewTabCaption() != QLatin1String("Custom")) {
        SelectViewTab(QStringLiteral("Custom"));
        SetViewMode(vmCustom, 0);
    }
    CustomZoom = Zoom;
    CustomCenterX = ViewCenterX;
    CustomCenterY = ViewCenterY;
}

void TMainFm::ViewPortHorzScrollbarChange(int position)
{
    if (ViewPortHorzScrollbar->maximum() <= ViewPortHorzScrollbar->minimum())
        return;
    ViewCenterX = m_allPagesRect.Left + position * InchesPerPixel;
    if (View == vmCustom)
        CustomCenterX = ViewCenterX;
    InvalidateView();
}

void TMainFm::ViewPortVertScrollbarChange(int position)
{
    if (ViewPortVertScrollbar->maximum() <= ViewPortVertScrollbar->minimum())
        return;
    ViewCenterY = m_allPagesRect.Top + position * InchesPerPixel;
    if (View == vmCustom)
        CustomCenterY = ViewCenterY;
    InvalidateView();
}

// ---- Compose --------------------------------------------------------------------------------------

void TMainFm::InvalidateView()
{
    m_composePending = true;
    if (ViewPort)
        ViewPort->update();
}

void TMainFm::ViewPortResized() { InvalidateView(); }

void TMainFm::ViewPortPaint()
{
    if (GridUpdating || AutoLayoutPending || m_composing)
        return;
    m_composing = true;
    m_composePending = false;
    FitViewGeometry(View);
    if (isVisible() && !AutoLayoutPending)
        SetScrollBars();

    const QSize size(std::max(1, ViewPort->width()), std::max(1, ViewPort->height()));
    if (m_workBitmap.size() != size)
        m_workBitmap = QImage(size, QImage::Format_RGB32);
    // The full compose repaints every cell: nothing is left to flush.
    std::fill(m_cellMarks.begin(), m_cellMarks.end(), 0);
    const bool untouched = IsUntouchedFreeformGrid();
    {
        QPainter canvas(&m_workBitmap);
        canvas.setRenderHint(QPainter::TextAntialiasing);
        VP_BeginPaint(canvas, QRect(QPoint(0, 0), size));
        VP_UpdatePageCursor();
        if (PageRuleA(CurrentPage))
            VP_DrawPageBorders(canvas);
        if (PageRuleB(CurrentPage))
            VP_DrawTitles(canvas);
        if (CurrentPage == PuzzlePage)
            VP_DrawWorksheetLine(canvas);
        VP_DrawSolutionHeader(canvas);
        TRVInvalidateDisplay();
        if (untouched) {
            VP_DrawFreeformHelp(canvas);
        } else {
            DrawAllCells(canvas);
            VP_DrawCreditsLine(canvas);
        }
        if (!untouched)
            VP_DrawAllClues(canvas);
    }
    ViewPort->update();

    if (mGridEditing)
        mGridEditing->setEnabled(!untouched);
    m_composing = false;
    VPKeyCursorUpdate();
    ShowLayoutMessagesLater();
}

// ---- Cells ----------------------------------------------------------------------------------------

bool TMainFm::IsGridAllOpen() const
{
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            if (cellCode(c, r) != TRV_EMPTY)
                return false;
    return true;
}

bool TMainFm::IsUntouchedFreeformGrid() const
{
    return LooseRB->isChecked() && Columns == 15 && Rows == 15 && IsGridAllOpen();
}

bool TMainFm::IsIsolatedRemovedCell(int column, int row) const
{
    if (RemovedCellColor != PageColor || !isRemoved(column, row))
        return false;
    if (column <= 1 || column >= Columns || row <= 1 || row >= Rows)
        return false;
    return !isRemoved(column - 1, row) && !isRemoved(column + 1, row) && !isRemoved(column, row - 1) &&
           !isRemoved(column, row + 1);
}

void TMainFm::DrawAllCells(QPainter &canvas)
{
    int open = 0;
    int lettered = 0;
    auto drawRemovedOfRow = [&](int row) {
        if (row > Rows)
            return;
        for (int c = 1; c <= Columns; ++c)
            if (isRemoved(c, row))
                DrawCell(canvas, c, row);
    };
    // Removed cells first, so the frames of the cells around them are drawn over theirs.
    drawRemovedOfRow(1);
    for (int r = 1; r <= Rows; ++r) {
        drawRemovedOfRow(r + 1);
        for (int c = 1; c <= Columns; ++c) {
            const char code = cellCode(c, r);
            if (code == TRV_REMOVED)
                continue;
            DrawCell(canvas, c, r);
            if (code == TRV_EMPTY)
                ++open;
            else if (code != TRV_BLOCK && code != TRV_EDGE)
                ++lettered;
        }
    }
    FewerOpenCellsThanLetters = open < lettered;
}

void TMainFm::DrawCell(QPainter &canvas, int column, int row)
{
    if (column < 1 || column > Columns || row < 1 || row > Rows || GridUpdating)
        return;
    DrawCellColor(canvas, column, row);
    VP_DrawCell(canvas, column, row);
    ++CellPaints;
}

void TMainFm::DrawCell(int column, int row) { MarkCell(column, row, MarkWholeCell); }

void TMainFm::DrawCellColor(QPainter &canvas, int column, int row)
{
    const bool gridPage = CurrentPage == PuzzlePage;
    const bool solutionPage = !gridPage && CurrentPage == SolutionPage;
    if ((!gridPage && !solutionPage) || GridUpdating)
        return;
    const TPixelRect cell = gridPage ? CellPixelRect(column, row) : CellPixelRectFor(column, row);
    const TColor blockColour = gridPage ? clPuzzleGrid : clSolutionGrid;
    const char code = cellCode(column, row);
    bool isolated = false;
    TColor colour = PageColor;
    switch (code) {
    case TRV_BLOCK: colour = blockColour; break;
    case TRV_EDGE: colour = 0x008000; break;
    case TRV_REMOVED:
        isolated = IsIsolatedRemovedCell(column, row);
        colour = isolated ? Silver : RemovedCellColor;
        break;
    default: {
        if (ShowHotSpotsCB->isChecked()) {
            static constexpr TColor levels[5] = {0, 0xA7FFFF, 0x00FFFF, 0xFF00FF, 0x0000FF};
            const int level = TRVGetDifficulty(column, row);
            if (level >= 1 && level <= 4)
                colour = levels[level];
        }
        const int shade = TRVShadeCell(column, row);
        if ((shade & TRV_SHADE_TWO_LETTER) && CheckBoxTwoLetter->isChecked())
            colour = HighlightColor;
        if ((shade & TRV_SHADE_UNCROSSED) && CheckBoxUncrossed->isChecked())
            colour = 0x00FF00;
        if (shade & TRV_SHADE_STUCK_AREA)
            colour = 0x00FFFF;
        if (shade & TRV_SHADE_STUCK_CELL)
            colour = 0x0000FF;
        break;
    }
    }
    const bool solid = code == TRV_BLOCK || code == TRV_REMOVED;
    const TColor brush = solid ? colour : ViewCellColor(colour);
    if (isolated && TRVGetCellDispColor(column, row) == colour)
        return;
    TColor pen = code == TRV_REMOVED ? RemovedCellColor : blockColour;
    if (code != TRV_BLOCK)
        pen = BlendColor(pen, brush, GridLineThickness / InchesPerPixel);

    // The frame is one pixel larger to the right and below, so neighbours share their lines.
    QRect frame = toQRect(cell);
    if (!frame.isEmpty())
        frame.adjust(0, 0, 1, 1);
    const int w = std::max(1, GridLinePixelWidth);
    canvas.fillRect(frame, ColorFromWin(pen));
    canvas.fillRect(frame.adjusted(w, w, -w, -w), ColorFromWin(brush));
    TRVSetCellDisp(column, row, 1);
    TRVSetCellDispColor(column, row, colour);
    TRVSetCellDispLetter(column, row, ' ');
    TRVSetCellDispNumber(column, row, 0);
    // A level is shown only with the hot spots; remembering a hidden one would keep the engine
    // from repainting its cell when they are turned on.
    TRVSetCellDispDiff(column, row, ShowHotSpotsCB->isChecked() ? TRVGetDifficulty(column, row) : 0);
}

void TMainFm::RedrawCells(int filter)
{
    if (GridUpdating)
        return;
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c) {
            const bool removed = isRemoved(c, r);
            const TColor shown = TRVGetCellDispColor(c, r);
            bool draw = false;
            switch (filter) {
            case 5:
                draw = !removed && shown != PageColor && shown != HighlightColor && shown != 0x00FF00;
                break;
            case 6:
                draw = !removed && (TRVShadeCell(c, r) & (TRV_SHADE_STUCK_CELL | TRV_SHADE_STUCK_AREA)) &&
                       shown != 0x0000FF && shown != 0x00FFFF;
                break;
            case 7: draw = !removed && (shown == 0x0000FF || shown == 0x00FFFF); break;
            case 8:
            case 9:
                if (IsIsolatedRemovedCell(c, r))
                    RedrawCellArea(c, r);
                break;
            default: draw = !removed; break;
            }
            if (draw)
                DrawCell(c, r);
        }
}

void TMainFm::RedrawCellArea(int column, int row)
{
    if (column < 1 || column > Columns || row < 1 || row > Rows)
        return;
    const size_t cells = static_cast<size_t>(Columns) * Rows;
    if (m_areaDepth == 0) {
        if (m_areaVisited.size() != cells)
            m_areaVisited.assign(cells, 0);
        if (++m_areaGeneration == 0) {
            std::fill(m_areaVisited.begin(), m_areaVisited.end(), 0);
            m_areaGeneration = 1;
        }
    }
    ++m_areaDepth;
    MarkCellArea(column, row);
    --m_areaDepth;
}

void TMainFm::MarkCellArea(int c, int r)
{
    auto inside = [](int x, int y) { return x >= 1 && x <= Columns && y >= 1 && y <= Rows; };
    if (!inside(c, r))
        return;
    unsigned &visited = m_areaVisited[static_cast<size_t>(r - 1) * Columns + (c - 1)];
    if (visited == m_areaGeneration)
        return; // two silver neighbours would otherwise redraw each other without end
    visited = m_areaGeneration;
    static const int direct[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto &d : direct) {
        const int x = c + d[0], y = r + d[1];
        if (inside(x, y) && (TRVGetCellDispColor(x, y) == Silver || IsIsolatedRemovedCell(x, y)))
            MarkCellArea(x, y);
    }
    DrawCell(c, r);
    for (int y = r - 1; y <= r + 1; ++y)
        for (int x = c - 1; x <= c + 1; ++x) {
            if (!inside(x, y) || (x == c && y == r))
                continue;
            if (!isRemoved(x, y) || ((x == c || y == r) && IsIsolatedRemovedCell(x, y)))
                DrawCell(x, y);
        }
    static const int far[4][2] = {{-2, 0}, {2, 0}, {0, -2}, {0, 2}};
    for (const auto &d : far) {
        const int x = c + d[0], y = r + d[1];
        if (inside(x, y) && !isRemoved(x, y))
            DrawCell(x, y);
    }
}

// ---- Deferred cell paints -----------------------------------------------------------------------

void TMainFm::MarkCell(int column, int row, unsigned char kind)
{
    // The engine reports cells by the hundred thousand during a build: a mark must cost next to
    // nothing, and the flush paints each marked cell once.
    if (column < 1 || column > Columns || row < 1 || row > Rows)
        return;
    if (m_markColumns != Columns || m_markRows != Rows) {
        m_markColumns = Columns;
        m_markRows = Rows;
        m_cellMarks.assign(static_cast<size_t>(Columns) * Rows, 0);
    }
    m_cellMarks[static_cast<size_t>(row - 1) * Columns + (column - 1)] |= kind;
    if (!m_flushScheduled) {
        m_flushScheduled = true;
        QTimer::singleShot(0, this, &TMainFm::FlushCellPaints);
    }
}

void TMainFm::FlushCellPaints()
{
    m_flushScheduled = false;
    if (m_markColumns != Columns || m_markRows != Rows || m_cellMarks.empty())
        return;
    if (GridUpdating || m_workBitmap.isNull() || m_composePending) {
        // The next compose paints everything anyway.
        std::fill(m_cellMarks.begin(), m_cellMarks.end(), 0);
        return;
    }
    QRect dirty;
    QPainter canvas(&m_workBitmap);
    canvas.setRenderHint(QPainter::TextAntialiasing);
    // Removed cells first, as in a full compose.
    for (int pass = 0; pass < 2; ++pass)
        for (int r = 1; r <= Rows; ++r)
            for (int c = 1; c <= Columns; ++c) {
                unsigned char &mark = m_cellMarks[static_cast<size_t>(r - 1) * Columns + (c - 1)];
                if (!mark || isRemoved(c, r) != (pass == 0))
                    continue;
                if (mark & MarkWholeCell) {
                    DrawCell(canvas, c, r);
                } else {
                    VP_DrawCell(canvas, c, r);
                    ++CellPaints;
                }
                mark = 0;
                dirty |= CellRect(c, r).adjusted(-1, -1, 2, 2);
            }
    canvas.end();
    if (!dirty.isEmpty())
        ViewPort->update(dirty);
}

QRect TMainFm::CellRect(int column, int row) const
{
    const bool solution = CurrentPage != PuzzlePage && CurrentPage == SolutionPage;
    return toQRect(solution ? CellPixelRectFor(column, row) : CellPixelRect(column, row));
}

void TMainFm::EngineRedrawCellCallback(int row, int column)
{
    if (MainFm && !GridUpdating)
        MainFm->RedrawCellArea(column, row);
}

void TMainFm::EngineDrawCellColorCallback(int row, int column)
{
    if (MainFm && !GridUpdating)
        MainFm->MarkCell(column, row, MarkWholeCell);
}

void TMainFm::EngineDrawCellNumberCallback(int, int) {}

void TMainFm::EngineDrawCellTextCallback(int row, int column)
{
    if (MainFm && !GridUpdating)
        MainFm->MarkCell(column, row, MarkLetter);
}

// ---- Connections ----------------------------------------------------------------------------------

void TMainFm::ConnectView()
{
    connect(ViewTabCtl, &QTabBar::tabBarClicked, this, &TMainFm::ViewTabCtlChanging);
    connect(ViewTabCtl, &QTabBar::currentChanged, this, [this] { ViewTabCtlChange(); });
    connect(ViewPortHorzScrollbar, &QScrollBar::actionTriggered, this, &TMainFm::ViewPortScroll);
    connect(ViewPortVertScrollbar, &QScrollBar::actionTriggered, this, &TMainFm::ViewPortScroll);
    connect(ViewPortHorzScrollbar, &QScrollBar::valueChanged, this, &TMainFm::ViewPortHorzScrollbarChange);
    connect(ViewPortVertScrollbar, &QScrollBar::valueChanged, this, &TMainFm::ViewPortVertScrollbarChange);
    connect(KeyCursorTimer, &QTimer::timeout, this, &TMainFm::KeyCursorTimerTimer);
}

// ---- Snapshots --------------------------------------------------------------------------------------

void TMainFm::InstallCheckPointHooks()
{
    CheckPointHooks.BeforeCapture = [this] {
        if (HintFm)
            HintFm->PutBackExampleList();
    };
    CheckPointHooks.ViewTabCaption = [this] { return ViewTabCaption(); };
    CheckPointHooks.ViewScale = [this](double &zoom, double &scale) {
        zoom = Zoom;
        scale = CustomZoom;
    };
    CheckPointHooks.RestoreView = [this](const TCheckPoint &snapshot) {
        CustomZoom = snapshot.ViewScale[1];
        SetCurrentPage(snapshot.Page);
        SetViewMode(snapshot.ViewMode, 2);
        if (!snapshot.ViewTabCaption.isEmpty())
            ShowViewTab(snapshot.ViewTabCaption);
        InvalidateView();
    };
}

// Chosen parts of one page as a picture for a file or the clipboard.
#include "pageparts.h"

#include "cp1252.h"
#include "emfwriter.h"
#include "globals.h"
#include "layoutsettings.h"
#include "printing.h"
#include "wysiwyg.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPngPixelsPerInch = 200;

const TOutputProfile &profile() { return GraphicProfile; }

bool wordBankOn(int page) { return page == WordBankPage && DocControls.WordBankCB && WordBankMode == 1; }

// The title and subtitle lines, centred between the margins as the printed page sets them.
void mergeTitles(TPartsBounds &bounds)
{
    TAsCanvas scratch;
    const double centre = (MarginLeft + PaperWidth - MarginRight) / 2;
    double y = MarginTop;
    const struct {
        const QString &text;
        const QString &font;
        int size;
        TFontStyles style;
    } lines[2] = {{DocControls.PuzzleTitle, TitleFont, TitleFontSize, TitleStyle},
                  {DocControls.PuzzleSubtitle, SubtitleFont, SubtitleFontSize, SubtitleStyle}};
    for (const auto &line : lines) {
        if (line.text.isEmpty())
            continue;
        scratch.Font.Name = line.font.isEmpty() ? QStringLiteral("Arial") : line.font;
        scratch.Font.Size = line.size;
        scratch.Font.Style = line.style;
        const double half = scratch.TextWidth(line.text) / 2;
        const double bottom = y + line.size / 72.0 + SubtitleExtraSpacing;
        bounds.Merge({centre - half, y, centre + half, bottom});
        y = bottom;
    }
}

void mergeGrid(TPartsBounds &bounds, bool solution)
{
    const TPageRect first = solution ? CellPageRectFor(1, 1) : CellPageRect(1, 1);
    const TPageRect last = solution ? CellPageRectFor(Columns, Rows) : CellPageRect(Columns, Rows);
    TPageRect grid{first.Left, first.Top, last.Right, last.Bottom};
    bounds.Merge(grid);
    if (!solution && !CreditsLine.isEmpty())
        bounds.Merge({grid.Left, grid.Bottom, grid.Left, grid.Bottom + CreditsFontSize / 72.0 * 1.25});
}

void mergeLine(TPartsBounds &bounds, int line, int page)
{
    int linePage = 0;
    TPageRect rect;
    if (ClueFlow_GetPlacement(line, &linePage, &rect) && linePage == page)
        bounds.Merge(rect);
}

void mergeClues(TPartsBounds &bounds, int page)
{
    ClueFlow_EnsureCurrent();
    mergeLine(bounds, 1, page);
    mergeLine(bounds, DownHeadingLine(), page);
    for (TClueGrid *grid : {CluesAcrossSG, CluesDownSG}) {
        if (!grid)
            continue;
        for (int r = 1; r < grid->RowCount(); ++r) {
            const int first = grid->Cell(3, r).toInt();
            if (first <= 0)
                continue;
            for (int i = 0; i < int(grid->Row(r).Lines.size()); ++i)
                mergeLine(bounds, first + i, page);
        }
    }
}

} // namespace

void TPartsBounds::Merge(const TPageRect &r)
{
    if (!Any) {
        Rect = r;
        Any = true;
        return;
    }
    MergeBounds(Rect, r);
}

TPartsBounds PagePartsBounds(int page, int flags)
{
    TPartsBounds bounds;
    if ((flags & PartTitles) && PageRuleB(page))
        mergeTitles(bounds);
    if ((flags & PartGrid) && page == PuzzlePage)
        mergeGrid(bounds, false);
    if (flags & PartClues)
        mergeClues(bounds, page);
    if ((flags & PartWordBank) && wordBankOn(page))
        bounds.Merge({WordBankRect.Left, WordBankRect.Top, WordBankRect.Right,
                      WordBankRect.Bottom + ClueTextFontSize / 72.0});
    if (flags & PartSolution)
        mergeGrid(bounds, true);
    return bounds;
}

void RenderPageParts(TAsCanvas &cv, int page, int flags)
{
    ClueFlow_EnsureCurrent();
    if ((flags & PartTitles) && PageRuleB(page))
        PrintTitles(cv, profile());
    if ((flags & PartGrid) && page == PuzzlePage) {
        PrintGrid(cv, profile(), TGridPart::Puzzle);
        PrintCreditsLine(cv, profile());
    }
    if (flags & PartClues)
        PrintCluesOfPage(cv, profile(), page);
    if (flags & PartWordBank)
        PrintWordBank(cv, profile(), page);
    if (flags & PartSolution)
        PrintGrid(cv, profile(), TGridPart::Solution);
}

bool RenderPagePartsPicture(int page, int flags, TPagePartsPicture *picture)
{
    WYSIWYGChange();
    const TPartsBounds bounds = PagePartsBounds(page, flags);
    if (bounds.Empty())
        return false;
    const TPageRect &b = bounds.Rect;
    const double width = std::max(0.01, std::abs(b.Right - b.Left));
    const double height = std::max(0.01, std::abs(b.Bottom - b.Top));
    {
        TEmfDevice metafile(width, height);
        QPainter painter(&metafile);
        TAsCanvas cv;
        cv.SetTargetMetafile(&painter, &metafile);
        cv.ZoomToPlacement(0, b);
        RenderPageParts(cv, page, flags);
        painter.end();
        picture->Emf = metafile.Bytes();
    }
    TAsCanvas cv;
    cv.SetTarget({std::max(1, int(std::lround(height * kPngPixelsPerInch))),
                  std::max(1, int(std::lround(width * kPngPixelsPerInch)))});
    cv.ZoomToPlacement(0, b);
    RenderPageParts(cv, page, flags);
    picture->Png = cv.Bitmap() ? cv.Bitmap()->copy() : QImage();
    return !picture->Emf.isEmpty();
}

bool CopyPagePartsToClipboard(int page, int flags)
{
    TPagePartsPicture picture;
    if (!RenderPagePartsPicture(page, flags, &picture))
        return false;
    CopyMetafileToClipboard(picture);
    return true;
}

void CopyMetafileToClipboard(const TPagePartsPicture &picture)
{
    auto *data = new QMimeData;
    data->setData(QStringLiteral("image/emf"), picture.Emf);
    data->setData(QStringLiteral("application/x-openoffice-emf;windows_formatname=\"Image EMF\""),
                  picture.Emf);
    data->setImageData(picture.Png);
    QGuiApplication::clipboard()->setMimeData(data);
}

QString MetafileFileName(const QString &chosen)
{
    return QFileInfo(chosen).suffix().isEmpty() && !QFileInfo(chosen).fileName().contains(QLatin1Char('.'))
               ? chosen + QStringLiteral(".EMF")
               : chosen;
}

bool SaveMetafile(const TPagePartsPicture &picture, const QString &fileName, QString *error)
{
    return Cp1252::writeFileSafely(fileName, picture.Emf, error);
}

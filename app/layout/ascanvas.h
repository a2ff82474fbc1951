// A drawing surface in inches. Coordinates are inches on the page (doubles, origin at the
// paper's top-left corner), type sizes points; the surface converts to the device pixels of its
// target: the view's page image, a printer or any paged device, a metafile, or an image of its
// own. Every page element is drawn once on it, whatever the output.
#pragma once

#include "globals.h"
#include "layoutsettings.h"
#include "quickbitmap.h"

#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

/** What a surface draws on. */
enum class TTargetKind : std::uint8_t {
    None = 0,
    View = 1,     // the view's page image
    Metafile = 2, // a metafile or any fixed-size device
    Printer = 3,  // a printer, a PDF writer or the simulated printer
    Bitmap = 5,   // an image of the surface's own
};

/** Asks SetTarget for an image of its own of Width x Height pixels. */
struct TBitmapSignalObject {
    int Height = 0;
    int Width = 0;
};

/** A 300-dpi page image that stands in for the printer when none is installed. */
class TSimulatedPrinter : public QImage
{
public:
    /** A sheet of the paper size (inches) at 300 pixels to the inch, white. */
    TSimulatedPrinter(double paperWidth, double paperHeight);
};

struct TCanvasFont {
    QString Name = QStringLiteral("Times New Roman");
    double Size = 12; // points
    TFontStyles Style = 0;
    TColor Color = 0;
};
struct TCanvasPen {
    TColor Color = 0;
    int Width = 1; // device pixels
};
struct TCanvasBrush {
    TColor Color = 0xFFFFFF;
    bool Clear = false; // text and shapes leave what lies below
};

class TAsCanvas
{
public:
    TAsCanvas();
    ~TAsCanvas();
    TAsCanvas(const TAsCanvas &) = delete;
    TAsCanvas &operator=(const TAsCanvas &) = delete;

    // ---- Targets ----
    /** The view's page image, drawn through painter. Converts exactly as PageXToPixel
     *  and PageYToPixel do (ViewPageRect, InchesPerPixel); text is anti-aliased. */
    void SetTargetView(QPainter *painter);
    /** A paged device (QPrinter in full-page mode, QPdfWriter) drawn through painter,
     *  at the device's resolution; the page origin is the paper's corner. */
    void SetTargetPrinter(QPainter *painter, QPagedPaintDevice *device);
    /** The printer kind without a printer: the simulated printer's image (its own painter). */
    void SetTargetSimulatedPrinter(TSimulatedPrinter *image);
    /** A metafile (or any fixed-size device) drawn through painter at the device's
     *  resolution; as on a bitmap, one inch spans it until a zoom is set. */
    void SetTargetMetafile(QPainter *painter, QPaintDevice *device);
    /** An image of its own, Width x Height; one inch spans it until a zoom is set. */
    void SetTarget(const TBitmapSignalObject &signal);

    TTargetKind TargetKind() const { return m_kind; }
    QPainter *Canvas() const { return m_painter; }
    /** The bitmap target's image (null for other kinds). */
    QImage *Bitmap() const { return m_bitmap.get(); }
    int DeviceWidth() const;
    int DeviceHeight() const;

    // ---- Drawing (inches) ----
    /** Sets the pen width in inches; the device pen is max(1, round(inches x ppi)). Returns the
     *  previous width. */
    double SetPenWidth(double inches);
    /** Filled with the brush (unless clear), outlined with the pen; on the view the pen colour
     *  is blended toward the brush for lines under a pixel. Device rectangle from the converted
     *  left/top to the converted right + 1 and bottom + 1. */
    void Rectangle(double left, double top, double right, double bottom);
    /** A rectangle filled with the colour, no outline, device edges as converted (exclusive). */
    void FillRect(double left, double top, double right, double bottom, TColor colour);
    void Polygon(const QPointF *points, int count, bool blendPen = true);
    void FillSquare(int size, int dx, int dy, double x, double y);
    /** Text with its top-left at (x, y) in the surface font; nothing when the device height
     *  round(size / 72 x ppiY) is not positive. On the view the text is anti-aliased and the
     *  span it covered is returned (the previous span's remains are erased with the brush). */
    TSpan TextOut(const QString &text, double x, double y, const TSpan &previous = TSpan());
    /** Width and height of a text in inches, measured at 150 pixels to the inch. */
    double TextWidth(const QString &text) const;
    double TextHeight(const QString &text) const;

    // ---- Placement and zoom ----
    void SetPagePlacement(int n, const TPageRect &rect);
    void ZoomToPlacement(int n, const TPageRect &rect);
    /** Fits the area into the target with a border of (1 - Zoom); "Printing of selected parts of
     *  a page is not yet supported." on the printer. */
    void ZoomToRect(double left, double top, double right, double bottom);
    void CentreOn(double x, double y);

    // ---- Conversion ----
    int XToDevice(double x) const;
    int YToDevice(double y) const;
    int LengthToDevice(double inches) const;
    int PointsToDevice(double points) const;
    /** The device font for the surface font (pixel height from the points). */
    QFont DeviceFont() const;

    // ---- State ----
    double InchesPerPixelX = 1.0 / 78, InchesPerPixelY = 1.0 / 78;
    double PenWidth = 0, PreviousPenWidth = 0;
    /** Pen widths in whole hundredths of an inch from 0.01 to 5 (what a PDF page takes). */
    bool PenInHundredths = false;
    TPageRect PageOrigin;             // Left and Top are added to every x and y
    double ViewLeft = 0, ViewTop = 0; // the page point at device pixel (0, 0)
    TPageRect Placements[102];
    int PlacementCount = 0;
    double Zoom = 0.97;
    double PenPixels = 0;
    double PixelsPerInchX = 78, PixelsPerInchY = 78;
    double ScreenPercent = 1.0;
    TCanvasFont Font;
    TCanvasPen Pen;
    TCanvasBrush Brush;
    /** When set, every drawing call appends one line describing it in inches (tests compare the
     *  operations of two outputs). */
    QStringList *Log = nullptr;

private:
    /** Ends the own painter and image and forgets the target. */
    void Unbind();
    /** The last part of binding: resolution, fresh font, pen and brush, no zoom. */
    void Bound(double ppiX, double ppiY);
    /** The printer kind's page origin (paper corner) and placements. */
    void SetPrinterPage();
    void AddLog(const QString &line) const;
    /** The pen colour, blended toward the brush on the view when blend is set. */
    TColor PenColour(bool blend) const;

    TTargetKind m_kind = TTargetKind::None;
    QPainter *m_painter = nullptr;
    std::unique_ptr<QPainter> m_ownPainter;
    std::unique_ptr<QImage> m_bitmap;
    QPagedPaintDevice *m_device = nullptr;
    int m_deviceWidth = 0, m_deviceHeight = 0;
};

/** Widens box to take in rect. */
void MergeBounds(TPageRect &box, const TPageRect &rect);
/** Moves all four sides inward by d (outward when negative). */
void InflateRectInches(TPageRect &rect, double d);

/** The printer's page as the surface unit keeps it, filled by ProbePrinterPage from the cached
 *  printer metrics (printersource.h). */
struct TProbedPage {
    bool PrinterSelected = false;
    int ResolutionX = 300, ResolutionY = 300;
    int PhysicalWidth = 2550, PhysicalHeight = 3300;
    int OffsetX = 0, OffsetY = 0;
    double PaperWidth = 8.5, PaperHeight = 11.0;
    double OffsetXInches = 0.25, OffsetYInches = 0.25;
    double PrintableWidth = 8.0, PrintableHeight = 10.25;
};
extern TProbedPage ProbedPage;
/** True when a printer was read. A page outside 2..50 inches either way becomes 8.5 x 11. */
bool ProbePrinterPage();

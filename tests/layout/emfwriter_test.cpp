// The EMF writer (app/layout/emfwriter.h), read back with the independent walker (emfwalker.h),
// by `file` and by LibreOffice when they are installed.
#include "emfwalker.h"
#include "emfwriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <cmath>
#include <iostream>

namespace {

constexpr int kDpi = TEmfDevice::kLogicalDpi;

QFont pixelFont(const QString &family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

/** A small scene: a filled rectangle, a polygon with pen and brush, text in Arial
 *  bold then plain, and a polygon without brush. 2 x 1.5 inches. */
void paintScene(TEmfDevice &device)
{
    QPainter p(&device);
    p.fillRect(QRect(0, 0, 1200, 600), QColor(200, 200, 200));
    QPen pen(QColor(0, 0, 0));
    pen.setWidth(12);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(QBrush(QColor(255, 255, 255)));
    p.drawPolygon(QPolygon({QPoint(100, 100), QPoint(700, 100), QPoint(700, 500), QPoint(100, 500)}),
                  Qt::OddEvenFill);
    p.setFont(pixelFont(QStringLiteral("Arial"), 200, true));
    p.setPen(QColor(0, 0, 128));
    p.drawText(QPointF(100, 900), QStringLiteral("Tarvel"));
    p.setFont(pixelFont(QStringLiteral("Arial"), 150, false));
    p.drawText(QPointF(100, 1200), QStringLiteral("Grid 12"));
    pen.setColor(QColor(255, 0, 0));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygon({QPoint(1300, 100), QPoint(2200, 100), QPoint(1700, 900)}), Qt::OddEvenFill);
}

QString joined(const QStringList &list) { return list.join(QStringLiteral("\n")); }

} // namespace

TEST(EmfWriter, DeviceMetricsAreTheLogicalResolution)
{
    TEmfDevice device(2.0, 1.5);
    EXPECT_EQ(device.logicalDpiX(), kDpi);
    EXPECT_EQ(device.logicalDpiY(), kDpi);
    EXPECT_EQ(device.physicalDpiX(), kDpi);
    EXPECT_EQ(device.width(), 2400);
    EXPECT_EQ(device.height(), 1800);
    EXPECT_EQ(device.widthMM(), 51);
    EXPECT_EQ(device.depth(), 24);
    EXPECT_DOUBLE_EQ(device.devicePixelRatio(), 1.0);
    EXPECT_TRUE(device.Bytes().isEmpty());
}

TEST(EmfWriter, StructureIsSound)
{
    TEmfDevice device(2.0, 1.5);
    {
        QPainter p(&device);
        p.fillRect(QRect(0, 0, 10, 10), Qt::black);
        EXPECT_TRUE(device.Bytes().isEmpty()); // not before the painter ends
    }
    paintScene(device); // a second painting starts afresh
    const QByteArray bytes = device.Bytes();
    ASSERT_FALSE(bytes.isEmpty());
    const TEmfWalker walker(bytes);
    EXPECT_TRUE(walker.Problems().isEmpty()) << joined(walker.Problems()).toStdString();
    EXPECT_EQ(walker.Records().first().Type, EmfType::Header);
    EXPECT_EQ(walker.Records().last().Type, EmfType::Eof);
    EXPECT_EQ(walker.Records().last().Size, 20u);
    EXPECT_EQ(walker.Signature(), 0x464D4520u);
    EXPECT_EQ(walker.Version(), 0x10000u);
    EXPECT_EQ(walker.HeaderBytes(), quint32(bytes.size()));
    EXPECT_EQ(bytes.size() % 4, 0);
    // Only the scene: the first painting's black square is gone, and nothing was added (no
    // background blank): one rectangle, the fillRect.
    EXPECT_EQ(walker.Count(EmfType::Rectangle), 1);
}

TEST(EmfWriter, HeaderDescribesTheAreaOnAFourPixelPerMillimetreReference)
{
    TEmfDevice device(2.0, 1.5);
    paintScene(device);
    const TEmfWalker walker(device.Bytes());
    const TEmfRectL frame = walker.Frame();
    EXPECT_EQ(frame.Left, 0);
    EXPECT_EQ(frame.Top, 0);
    EXPECT_EQ(frame.Right, 5080);  // 2 in = 50.8 mm
    EXPECT_EQ(frame.Bottom, 3810); // 1.5 in = 38.1 mm
    const QSize px = walker.Device(), mm = walker.Millimeters();
    ASSERT_GT(mm.width(), 0);
    ASSERT_GT(mm.height(), 0);
    EXPECT_DOUBLE_EQ(double(px.width()) / mm.width(), 4.0);
    EXPECT_DOUBLE_EQ(double(px.height()) / mm.height(), 4.0);
    // Bounds: the area in reference pixels (2 in x 25.4 x 4 = 203.2 -> 203), inclusive.
    const TEmfRectL bounds = walker.Bounds();
    EXPECT_EQ(bounds.Left, 0);
    EXPECT_EQ(bounds.Top, 0);
    EXPECT_EQ(bounds.Right, 202);
    EXPECT_EQ(bounds.Bottom, 151);
    // Mapping: logical units onto the frame.
    EXPECT_EQ(walker.FirstPair(EmfType::SetMapMode).x(), 8); // MM_ANISOTROPIC
    EXPECT_EQ(walker.FirstPair(EmfType::SetWindowExtEx), QPoint(2400, 1800));
    EXPECT_EQ(walker.FirstPair(EmfType::SetViewportExtEx), QPoint(203, 152));
}

TEST(EmfWriter, ShapesBecomeTheirRecords)
{
    TEmfDevice device(2.0, 1.5);
    paintScene(device);
    const TEmfWalker walker(device.Bytes());
    EXPECT_EQ(walker.Count(EmfType::Polygon16), 2);
    EXPECT_EQ(walker.Count(EmfType::Rectangle), 1);
    EXPECT_EQ(walker.Count(EmfType::ExtTextOutW), 2);
    // The fillRect: one unit more right and down than Qt's exclusive edges, since GDI leaves
    // out a NULL-pen rectangle's last column and row.
    for (const TEmfRecordInfo &r : walker.Records())
        if (r.Type == EmfType::Rectangle) {
            EXPECT_EQ(walker.I32(r.Offset + 8), 0);
            EXPECT_EQ(walker.I32(r.Offset + 12), 0);
            EXPECT_EQ(walker.I32(r.Offset + 16), 1201);
            EXPECT_EQ(walker.I32(r.Offset + 20), 601);
        }
    // The first polygon: 4 points as drawn, the pen 12 units wide.
    for (const TEmfRecordInfo &r : walker.Records())
        if (r.Type == EmfType::Polygon16) {
            EXPECT_EQ(walker.U32(r.Offset + 24), 4u);
            EXPECT_EQ(walker.U16(r.Offset + 28), 100);
            EXPECT_EQ(walker.U16(r.Offset + 32), 700);
            break;
        }
    for (const TEmfRecordInfo &r : walker.Records())
        if (r.Type == EmfType::CreatePen && walker.U32(r.Offset + 12) == 0) { // PS_SOLID
            EXPECT_EQ(walker.I32(r.Offset + 16), 12);
            break;
        }
}

TEST(EmfWriter, TextKeepsTheFontAsSetWithAdvances)
{
    TEmfDevice device(2.0, 1.5);
    paintScene(device);
    const TEmfWalker walker(device.Bytes());
    const QList<TEmfTextInfo> texts = walker.Texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0].Text, QStringLiteral("Tarvel"));
    EXPECT_EQ(texts[1].Text, QStringLiteral("Grid 12"));
    EXPECT_EQ(texts[0].Reference, QPoint(100, 900));
    ASSERT_TRUE(texts[0].HasFont);
    ASSERT_TRUE(texts[1].HasFont);
    EXPECT_EQ(texts[0].Font.Face, QStringLiteral("Arial")); // as set, not a substitute
    EXPECT_EQ(texts[1].Font.Face, QStringLiteral("Arial"));
    EXPECT_EQ(texts[0].Font.Weight, 700);
    EXPECT_EQ(texts[1].Font.Weight, 400);
    EXPECT_EQ(texts[0].Font.Height, -200);
    EXPECT_EQ(texts[1].Font.Height, -150);
    EXPECT_FALSE(texts[0].Font.Italic);
    for (const TEmfTextInfo &t : texts) {
        ASSERT_EQ(t.Dx.size(), t.Text.size());
        qint64 sum = 0;
        for (const qint32 d : t.Dx) {
            EXPECT_GT(d, 0);
            sum += d;
        }
        // The running sum stays with the exact sum of the advances.
        const QFontMetricsF metrics(pixelFont(QStringLiteral("Arial"), -t.Font.Height, t.Font.Weight == 700),
                                    &device);
        double exact = 0;
        for (const QChar c : t.Text)
            exact += metrics.horizontalAdvance(QString(c));
        EXPECT_LE(std::abs(double(sum) - exact), 0.5 + 1e-9) << t.Text.toStdString();
    }
    // Text colour, background mode and alignment are set once each.
    EXPECT_EQ(walker.Count(EmfType::SetTextColor), 1);
    EXPECT_EQ(walker.Count(EmfType::SetBkMode), 1);
    EXPECT_EQ(walker.Count(EmfType::SetTextAlign), 1);
    EXPECT_EQ(walker.FirstPair(EmfType::SetBkMode).x(), 1);           // TRANSPARENT
    EXPECT_EQ(walker.FirstPair(EmfType::SetTextAlign).x(), 24);       // TA_BASELINE | TA_LEFT
    EXPECT_EQ(walker.FirstPair(EmfType::SetTextColor).x(), 0x800000); // COLORREF of navy
}

TEST(EmfWriter, HandlesAreReusedAndObjectsNotRecreated)
{
    TEmfDevice device(2.0, 1.5);
    paintScene(device);
    const TEmfWalker walker(device.Bytes());
    const QList<quint32> handles = walker.CreatedHandles();
    ASSERT_FALSE(handles.isEmpty());
    EXPECT_LT(QSet<quint32>(handles.cbegin(), handles.cend()).size(), handles.size())
        << "no handle was reused after its deletion";
    EXPECT_GT(walker.Count(EmfType::DeleteObject), 0);
    // 3 objects at most are alive at once (pen, brush, font), plus one while replacing.
    EXPECT_LE(walker.HeaderHandles(), 5);

    // The same pen and brush twice: created once.
    TEmfDevice twice(1.0, 1.0);
    {
        QPainter p(&twice);
        p.setPen(QPen(Qt::black, 10));
        p.setBrush(Qt::yellow);
        const QPolygon square({QPoint(10, 10), QPoint(500, 10), QPoint(500, 500)});
        p.drawPolygon(square);
        p.drawPolygon(square.translated(100, 100));
        p.save();
        p.restore();
        p.drawPolygon(square.translated(200, 200));
    }
    const TEmfWalker second(twice.Bytes());
    EXPECT_TRUE(second.Problems().isEmpty()) << joined(second.Problems()).toStdString();
    EXPECT_EQ(second.Count(EmfType::Polygon16), 3);
    EXPECT_EQ(second.Count(EmfType::CreatePen), 1);
    EXPECT_EQ(second.Count(EmfType::CreateBrushIndirect), 1);
}

TEST(EmfWriter, LinesTranslationAndLargeCoordinates)
{
    TEmfDevice device(30.0, 2.0); // wider than the int16 range of logical units
    {
        QPainter p(&device);
        p.setPen(QPen(Qt::black, 5));
        p.drawLine(QPoint(0, 0), QPoint(1000, 1000));
        p.translate(50, 60);
        p.drawPolyline(QPolygon({QPoint(0, 0), QPoint(10, 0), QPoint(10, 10)}));
        p.resetTransform();
        p.setBrush(Qt::blue);
        p.drawPolygon(QPolygon({QPoint(35000, 10), QPoint(35500, 10), QPoint(35500, 500)}));
    }
    const TEmfWalker walker(device.Bytes());
    EXPECT_TRUE(walker.Problems().isEmpty()) << joined(walker.Problems()).toStdString();
    EXPECT_EQ(walker.Count(EmfType::Polyline16), 2);
    EXPECT_EQ(walker.Count(EmfType::Polygon), 1); // 32-bit: 35000 does not fit in int16
    for (const TEmfRecordInfo &r : walker.Records())
        if (r.Type == EmfType::Polyline16 && walker.U32(r.Offset + 24) == 3) {
            EXPECT_EQ(walker.U16(r.Offset + 28), 50); // translated
            EXPECT_EQ(walker.U16(r.Offset + 30), 60);
        }
    for (const TEmfRecordInfo &r : walker.Records())
        if (r.Type == EmfType::Polygon) {
            EXPECT_EQ(walker.I32(r.Offset + 28), 35000);
        }
}

TEST(EmfWriter, EmptyPictureAndFontStyles)
{
    TEmfDevice empty(11.0, 11.0);
    {
        QPainter p(&empty);
    }
    const TEmfWalker blank(empty.Bytes());
    EXPECT_TRUE(blank.Problems().isEmpty()) << joined(blank.Problems()).toStdString();
    EXPECT_EQ(blank.HeaderHandles(), 1);
    EXPECT_EQ(blank.Records().size(), 7); // header, map mode, 2 origins, 2 extents, EOF

    TEmfDevice device(1.0, 1.0);
    {
        QPainter p(&device);
        QFont font = pixelFont(QStringLiteral("Times New Roman"), 100, false);
        font.setItalic(true);
        font.setUnderline(true);
        p.setFont(font);
        p.drawText(QPointF(10, 200), QStringLiteral("Ab"));
        p.drawText(QPointF(10, 400), QStringLiteral("Cd")); // the same font: not made again
    }
    const TEmfWalker walker(device.Bytes());
    EXPECT_TRUE(walker.Problems().isEmpty()) << joined(walker.Problems()).toStdString();
    EXPECT_EQ(walker.Count(EmfType::ExtCreateFontIndirectW), 1);
    const QList<TEmfTextInfo> texts = walker.Texts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[1].Font.Face, QStringLiteral("Times New Roman"));
    EXPECT_TRUE(texts[1].Font.Italic);
    EXPECT_TRUE(texts[1].Font.Underline);
    EXPECT_EQ(texts[1].Font.Weight, 400);
}

TEST(EmfWriter, SaveToFileReplacesAndFailsCleanly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TEmfDevice device(1.0, 1.0);
    QString error;
    EXPECT_FALSE(device.SaveToFile(dir.filePath(QStringLiteral("early.emf")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("early.emf"))));

    paintScene(device);
    const QString name = dir.filePath(QStringLiteral("out.emf"));
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older file, longer than nothing");
    }
    error.clear();
    EXPECT_TRUE(device.SaveToFile(name, &error)) << error.toStdString();
    QFile written(name);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), device.Bytes());

    const QString missing = dir.filePath(QStringLiteral("no/such/folder/out.emf"));
    error.clear();
    EXPECT_FALSE(device.SaveToFile(missing, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("no"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.emf")});
}

TEST(EmfWriter, FileRecognisesIt)
{
    const QString file = QStandardPaths::findExecutable(QStringLiteral("file"));
    if (file.isEmpty())
        GTEST_SKIP() << "`file` is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TEmfDevice device(2.0, 1.5);
    paintScene(device);
    const QString name = dir.filePath(QStringLiteral("scene.emf"));
    ASSERT_TRUE(device.SaveToFile(name));
    QProcess process;
    process.start(file, {QStringLiteral("-b"), name});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("Windows Enhanced Metafile (EMF) image data version 0x10000")))
        << out.toStdString();
}

TEST(EmfWriter, LibreOfficeDrawsTheGrid)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "libreoffice is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    if (qEnvironmentVariableIsSet("TRV_KEEP_EMF_TEST")) { // to look at the files afterwards
        dir.setAutoRemove(false);
        std::cout << "EMF test files in " << dir.path().toStdString() << std::endl;
    }

    // A 3 x 3 grid of half-inch cells at (0.25, 0.25) inch with numbers, a line of text below;
    // 2 x 2.25 inches in all.
    constexpr double kWidth = 2.0, kHeight = 2.25;
    const int cell = kDpi / 2, origin = kDpi / 4;
    TEmfDevice device(kWidth, kHeight);
    {
        QPainter p(&device);
        QPen pen(Qt::black);
        pen.setWidth(12);
        pen.setJoinStyle(Qt::MiterJoin);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col) {
                const int x = origin + col * cell, y = origin + row * cell;
                p.setPen(pen);
                p.setBrush((row + col) % 4 == 3 ? QBrush(Qt::black) : QBrush(Qt::white));
                p.drawPolygon(QPolygon({QPoint(x, y), QPoint(x + cell, y), QPoint(x + cell, y + cell),
                                        QPoint(x, y + cell)}),
                              Qt::OddEvenFill);
                p.setFont(pixelFont(QStringLiteral("Arial"), 120, false));
                p.setPen(Qt::black);
                p.drawText(QPointF(x + 30, y + 140), QString::number(row * 3 + col + 1));
            }
        p.setFont(pixelFont(QStringLiteral("Times New Roman"), 180, true));
        p.setPen(Qt::black);
        p.drawText(QPointF(origin, origin + 3 * cell + 300), QStringLiteral("Tarvel grid export"));
    }
    const QString emf = dir.filePath(QStringLiteral("grid.emf"));
    ASSERT_TRUE(device.SaveToFile(emf));
    ASSERT_TRUE(TEmfWalker(device.Bytes()).Problems().isEmpty());

    const QString home = dir.filePath(QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkpath(home));
    const QString outDir = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(outDir));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("QT_QPA_PLATFORM")); // LibreOffice picks its own headless backend
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(office, {QStringLiteral("-env:UserInstallation=") +
                               QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("png"), QStringLiteral("--outdir"), outDir, emf});
    ASSERT_TRUE(process.waitForStarted(30000));
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(5000);
        FAIL() << "libreoffice did not finish within 120 s";
    }
    const QString log = QString::fromUtf8(process.readAll());
    const QString png = QDir(outDir).filePath(QStringLiteral("grid.png"));
    ASSERT_TRUE(QFileInfo::exists(png)) << log.toStdString();
    QImage image(png);
    ASSERT_FALSE(image.isNull()) << log.toStdString();
    image = image.convertToFormat(QImage::Format_ARGB32);
    // LibreOffice puts the picture on a page of its own: find it by its dark pixels.
    EXPECT_GE(image.width(), 50);
    EXPECT_LE(image.width(), 6000);
    auto isDark = [&](int x, int y) {
        const QRgb c = image.pixel(x, y);
        return qAlpha(c) > 128 && qGray(c) < 96;
    };
    QRect box;
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isDark(x, y)) {
                box |= QRect(x, y, 1, 1);
                ++dark;
            }
    ASSERT_GT(dark, 100) << "nothing dark in the picture";
    // The dark parts run from the grid's top-left corner (0.25, 0.25) to its right edge
    // (1.75) and the text's baseline (2.0 inch): 1.5 x 1.75 inches and a little.
    const double pxPerInch = box.width() / 1.5;
    EXPECT_GT(pxPerInch, 20);
    EXPECT_NEAR(box.height() / pxPerInch, 1.8, 0.12) << box.width() << " x " << box.height();
    // The two black cells are dark in the middle, an open cell is light there, and the grid
    // area is neither empty nor solid.
    auto cellMiddle = [&](int col, int row) {
        return QPoint(box.left() + int((col + 0.5) * pxPerInch / 2),
                      box.top() + int((row + 0.5) * pxPerInch / 2));
    };
    EXPECT_TRUE(isDark(cellMiddle(2, 1).x(), cellMiddle(2, 1).y()));
    EXPECT_TRUE(isDark(cellMiddle(1, 2).x(), cellMiddle(1, 2).y()));
    EXPECT_FALSE(isDark(cellMiddle(1, 1).x(), cellMiddle(1, 1).y()));
    int gridDark = 0, total = 0;
    for (int y = box.top(); y < box.top() + int(1.5 * pxPerInch); ++y)
        for (int x = box.left(); x <= box.right(); ++x, ++total)
            gridDark += isDark(x, y) ? 1 : 0;
    EXPECT_GT(gridDark, total / 20) << gridDark << " dark of " << total;
    EXPECT_LT(gridDark, total / 2) << gridDark << " dark of " << total;
}

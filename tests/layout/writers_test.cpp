// Writes cut short as on a full disk, for the page writers: the PDF and the metafiles. The old
// file must survive every cut whole and the writer must say why it failed.
#include "cutwrites.h"
#include "emfwriter.h"
#include "layoutdoc.h"
#include "layoutsettings.h"
#include "pageparts.h"

#include <QPainter>

namespace {

class PageWritersTest : public LayoutDocTest
{
protected:
    void SetUp() override
    {
        LayoutDocTest::SetUp();
        load(QStringLiteral(TRV_TEST_DATA "/main/filled15.trv"));
    }
};

TEST_F(PageWritersTest, ACutPdfKeepsTheOldFileAndSaysWhy)
{
    const QString target = dir.filePath(QStringLiteral("puzzle.pdf"));
    // The solution page alone and every page: a small and a large document.
    qint64 sizes[2] = {};
    int i = 0;
    for (TPdfPages pages : {TPdfPages::Solution, TPdfPages::All}) {
        SCOPED_TRACE(int(pages));
        sizes[i++] = ExpectCutWritesKeepTheOldFile(
            target, [&](QString *reason) { return TRaveCanvas::SaveToPdf(target, pages, reason); });
    }
    EXPECT_LT(sizes[0], sizes[1]);
}

TEST_F(PageWritersTest, ACutMetafileKeepsTheOldFileAndSaysWhy)
{
    const QString target = dir.filePath(QStringLiteral("parts.emf"));
    for (int parts : {int(PartGrid), PartGrid | PartClues | PartTitles}) {
        SCOPED_TRACE(parts);
        TPagePartsPicture picture;
        ASSERT_TRUE(RenderPagePartsPicture(PuzzlePage, parts, &picture));
        ExpectCutWritesKeepTheOldFile(target,
                                      [&](QString *reason) { return SaveMetafile(picture, target, reason); });
    }
    // The metafile device's own save goes the same way.
    TEmfDevice device(2.0, 1.5);
    {
        QPainter painter(&device);
        for (int k = 0; k < 200; ++k)
            painter.drawText(QPointF(10 + k, 20 + k), QStringLiteral("line %1").arg(k));
    }
    ExpectCutWritesKeepTheOldFile(target, [&](QString *reason) { return device.SaveToFile(target, reason); });
}

} // namespace

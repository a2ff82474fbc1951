// The custom-size dialog on its own: it shows the current size, marks entries out of range in
// red, and refuses OK while one is.
#include "documentcontrols.h"
#include "sizefm.h"

#include "globals.h"
#include "pataux.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

bool isRed(const QSpinBox *entry) { return entry->palette().color(QPalette::Text) == QColor(Qt::red); }

class SizeFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        PatAuxControls = {};
        PatAuxControls.PuzzleSizeCmBx = &m_sizes;
        m_sizes.addItems(PuzzleSizeItems);
        SetPuzzleDimensions(15, 15, false);
    }
    void TearDown() override { PatAuxControls = {}; }

    QComboBox m_sizes;
};

TEST_F(SizeFormTest, ShowsTheCurrentSizeAndMarksEntriesOutOfRange)
{
    SetPuzzleDimensions(13, 17, false);
    TSizeFm form;
    EXPECT_EQ(SizeFm, &form);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Custom Puzzle Size");
    EXPECT_EQ(form.ColCountSpEd->value(), 13);
    EXPECT_EQ(form.RowCountSpEd->value(), 17);
    const struct {
        int value;
        bool red;
    } cases[] = {{-1, true}, {0, true}, {1, false}, {51, false}, {52, true}, {999, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        form.RowCountSpEd->setValue(c.value);
        EXPECT_EQ(form.RowCountSpEd->value(), c.value); // any value can be typed
        EXPECT_EQ(isRed(form.RowCountSpEd), c.red);
        EXPECT_FALSE(isRed(form.ColCountSpEd));
    }
}

TEST_F(SizeFormTest, OkIsRefusedWhileAnEntryIsRed)
{
    TSizeFm form;
    for (const auto &[columns, rows] : {std::pair{0, 10}, std::pair{10, 52}}) {
        SCOPED_TRACE(columns * 100 + rows);
        form.show();
        form.ColCountSpEd->setValue(columns);
        form.RowCountSpEd->setValue(rows);
        form.OKBtn->click();
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(Columns, 15);
        EXPECT_EQ(Rows, 15);
        form.CancelBtn->click();
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
    // A valid size closes the dialog and becomes the list's custom item.
    form.show();
    form.ColCountSpEd->setValue(20);
    form.RowCountSpEd->setValue(30);
    form.OKBtn->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(Columns, 20);
    EXPECT_EQ(Rows, 30);
    EXPECT_EQ(m_sizes.currentText(), "Custom 20 x 30 (Can be up to 51 x 51)");
}

} // namespace

#include "platform/gui/auto_size_label.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/gui/fonts.h"

namespace {

using norvessa::platform::AutoSizeLabel;

// The number of pixels that differ from the white the label was drawn on.
int inkPixels(AutoSizeLabel& label) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    return ink;
}

class AutoSizeLabelTest : public ::testing::Test {
  protected:
    AutoSizeLabelTest() {
        container.resize(834, 559);
        label.setFont(norvessa::platform::songFont(12));
        label.setText(QStringLiteral("共查到0个结果"));
        label.setGeometry(672, 344, 104, 16);
    }

    QWidget container;
    AutoSizeLabel label{&container};
};

TEST_F(AutoSizeLabelTest, ANewCaptionKeepsTheTopLeftCornerAndTakesItsWidth) {
    label.setCaption(QStringLiteral("共查到123个结果！"));
    EXPECT_EQ(label.pos(), QPoint(672, 344));
    EXPECT_EQ(label.width(), label.captionWidth());
    EXPECT_GT(label.width(), 104);
    EXPECT_EQ(label.height(), 16);

    label.setCaption(QStringLiteral("共查到1个结果！"));
    EXPECT_EQ(label.pos(), QPoint(672, 344));
    EXPECT_LT(label.width(),
              label.fontMetrics().horizontalAdvance(QStringLiteral("共查到123个结果！")));
}

TEST_F(AutoSizeLabelTest, WideningOnlyEverGrows) {
    label.setText(QStringLiteral("共"));
    label.fitToCaption();
    EXPECT_EQ(label.width(), 104);
    label.setText(QStringLiteral("共查到1234567890个结果！"));
    label.fitToCaption();
    EXPECT_EQ(label.width(), label.captionWidth());
}

TEST_F(AutoSizeLabelTest, AFittedCaptionKeepsItsDescendersAndItsOneEmBaseline) {
    // The same caption drawn in the fitted label and in one three times as tall: the baseline does
    // not depend on the height, so any ink missing from the fitted one was clipped.
    for (const QString& caption :
         {QStringLiteral("型号：ECC纠错"), QStringLiteral("velthorn42@example.com gpqy")}) {
        label.setCaption(caption);
        label.resize(label.width(), 16);
        label.fitToCaption();
        EXPECT_GE(label.height(), 16);
        const int fitted = inkPixels(label);
        label.resize(label.width(), 48);
        EXPECT_GT(fitted, 0);
        EXPECT_EQ(fitted, inkPixels(label)) << caption.toStdString();
    }
}

}  // namespace

// The main window as a German operator starts it: QApplication takes the C library's locale and
// Qt's default locale from LANG=de_DE.UTF-8, where the decimal separator is a comma. The
// read-outs keep the program's forms and the number fields show and read a decimal point.

#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QRegularExpression>

#include "app/ui/CBeamChildFrm.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/CVantrelApp.h"
#include "app/ui/StatusBarWidget.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "support/CommaLocale.h"
#include "support/FakePlatform.h"

namespace {

class GermanSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(german.Active()) << CommaLocale::kMissing;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        CVantrelApp::UsePointDecimals();
    }
    void TearDown() override { QLocale::setDefault(previous); }

    const CommaLocale german;
    const QLocale previous;
};

TEST_F(GermanSessionTest, ReadOutsAndNumberFieldsKeepTheDecimalPoint) {
    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
    frame.Status().temperatureC = 12.5;
    frame.Status().depthM = 2.5;
    frame.UpdateStatusBars();
    EXPECT_EQ(frame.FirstStatus()->PaneText(8).toStdString(), "12.5 C");
    EXPECT_EQ(frame.FirstStatus()->PaneText(11).toStdString(), "2.5 m");

    frame.Commands().Execute(kCmdBeamCoverage);
    auto* window = frame.Mdi()->findChild<CBeamChildFrm*>();
    ASSERT_NE(window, nullptr);
    window->Height()->setValue(12.5);
    EXPECT_EQ(window->Height()->text().toStdString(), "12.50 m");
    // Typed as on the screen, a value with a point is taken.
    EXPECT_EQ(window->Height()->valueFromText(QStringLiteral("7.5 m")), 7.5);
    EXPECT_FALSE(window->Figures()->text().contains(QRegularExpression("\\d,\\d")))
        << window->Figures()->text().toStdString();
}

}  // namespace

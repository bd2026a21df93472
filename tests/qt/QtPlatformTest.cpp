#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "QtTestSupport.h"
#include "platform/qt/ConnectDialog.h"
#include "platform/qt/QtPlatform.h"

namespace {

struct TimerLog : TimerListener {
    void OnTimer(int timerId) override {
        fired.push_back(timerId);
        if (onTimer) onTimer(timerId);
    }
    std::vector<int> fired;
    std::function<void(int)> onTimer;
};

int Count(const std::vector<int>& ids, int id) {
    return static_cast<int>(std::count(ids.begin(), ids.end(), id));
}

TEST(QtPlatformTest, TimersRepeatUnderTheirIdentifiersUntilStopped) {
    QtPlatform platform(QtPlatform::Mode::Headless);
    TimerLog log;
    platform.SetTimerListener(&log);
    platform.StartTimer(1020, 20);
    platform.StartTimer(1030, 0);  // a zero period fires on every pass of the event loop
    ASSERT_TRUE(
        RunUntil([&] { return Count(log.fired, 1020) >= 3 && Count(log.fired, 1030) >= 3; }, 5000));
    EXPECT_TRUE(platform.TimerRunning(1020));
    platform.StopTimer(1020);
    platform.StopTimer(1030);
    platform.StopTimer(4711);  // never started: nothing happens
    EXPECT_FALSE(platform.TimerRunning(1020));
    const auto firedBefore = log.fired.size();
    QTest::qWait(60);
    EXPECT_EQ(log.fired.size(), firedBefore);
}

TEST(QtPlatformTest, StartingARunningTimerRestartsItsPeriod) {
    QtPlatform platform(QtPlatform::Mode::Headless);
    TimerLog log;
    platform.SetTimerListener(&log);
    // A is due at 300 ms; restarted at about 200 ms it is due at about 500 ms, after B (due at
    // about 450 ms). Without the restart A would come first.
    platform.StartTimer(1, 300);
    QTest::qWait(200);
    ASSERT_TRUE(log.fired.empty()) << "the event loop was held up too long to tell";
    platform.StartTimer(1, 300);
    platform.StartTimer(2, 250);
    ASSERT_TRUE(RunUntil([&] { return Count(log.fired, 1) >= 1; }, 5000));
    ASSERT_GE(log.fired.size(), 2u);
    EXPECT_EQ(log.fired.front(), 2);
}

TEST(QtPlatformTest, ATimerNeverFiresBeforeItsPeriod) {
    // A reply timeout that came early would rebuild connections that were still answering.
    QtPlatform platform(QtPlatform::Mode::Headless);
    TimerLog log;
    QElapsedTimer clock;
    std::vector<qint64> at;
    log.onTimer = [&](int) { at.push_back(clock.elapsed()); };
    platform.SetTimerListener(&log);
    clock.start();
    platform.StartTimer(1020, 400);
    ASSERT_TRUE(RunUntil([&] { return at.size() >= 3; }, 5000));
    for (std::size_t i = 0; i < at.size(); ++i) {
        EXPECT_GE(at[i], 400 * static_cast<qint64>(i + 1)) << "expiry " << i;
    }
}

TEST(QtPlatformTest, ATimerStoppedInItsOwnCallbackDoesNotFireAgain) {
    QtPlatform platform(QtPlatform::Mode::Headless);
    TimerLog log;
    log.onTimer = [&](int id) { platform.StopTimer(id); };
    platform.SetTimerListener(&log);
    platform.StartTimer(1010, 5);
    ASSERT_TRUE(RunUntil([&] { return !log.fired.empty(); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(log.fired, std::vector<int>{1010});
}

TEST(QtPlatformTest, ClockGivesLocalTimeWithMillisecondsAndAMonotonicTick) {
    QtPlatform platform(QtPlatform::Mode::Headless);
    const std::time_t before = std::time(nullptr);
    const LocalTime now = platform.Now();
    std::tm local{};
    localtime_r(&before, &local);
    EXPECT_EQ(now.year, local.tm_year + 1900);
    EXPECT_EQ(now.month, local.tm_mon + 1);
    EXPECT_EQ(now.dayOfWeek, local.tm_wday) << "0 is Sunday";
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
    const int secondsOfDay = now.hour * 3600 + now.minute * 60 + now.second;
    const int expected = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    EXPECT_LE(std::abs(secondsOfDay - expected) % 86399, 2);

    const std::uint32_t t0 = platform.TickCountMs();
    QTest::qWait(50);
    const std::uint32_t elapsed = platform.TickCountMs() - t0;
    EXPECT_GE(elapsed, 45u);
    EXPECT_LT(elapsed, 10000u);
}

TEST(QtPlatformTest, HeadlessAnswersFromItsPresetsAndShowsNoWindow) {
    QtPlatform platform(QtPlatform::Mode::Headless);
    std::vector<std::string> messages;
    platform.SetMessageSink([&](const std::string& text) { messages.push_back(text); });
    platform.MessageBox("File has no data!");
    EXPECT_EQ(messages, std::vector<std::string>{"File has no data!"});

    std::string address = "192.168.0.2";
    EXPECT_TRUE(platform.ConnectDialog(address)) << "YES unless told otherwise";
    EXPECT_EQ(address, "192.168.0.2") << "an empty preset keeps the proposed address";
    platform.SetConnectPreset(true, "127.0.0.2");
    EXPECT_TRUE(platform.ConnectDialog(address));
    EXPECT_EQ(address, "127.0.0.2");
    platform.SetConnectPreset(false, "");
    EXPECT_FALSE(platform.ConnectDialog(address));

    EXPECT_FALSE(platform.OpenFileDialog({"Open", "Sonar Files (*.svx)", "/tmp", ""}));
    EXPECT_FALSE(platform.SaveFileDialog({"Save", "Sonar Files (*.svx)", "/tmp", "a.svx"}));
    EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
}

TEST(QtPlatformTest, PlayingASoundWithoutFileOrDeviceIsSilent) {
    QtPlatform platform(QtPlatform::Mode::Interactive);
    bool boxShown = false;
    QTimer::singleShot(200, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            boxShown = true;
            modal->close();
        }
    });
    platform.PlaySound("/nonexistent/ding.wav");
    QTest::qWait(300);
    EXPECT_FALSE(boxShown);
}

// Runs `check` on the modal window once it is shown, while `show` blocks in exec().
void WhenModal(std::function<void(QWidget*)> check) {
    QTimer::singleShot(0, [check] {
        RunUntil([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        check(modal);
    });
}

TEST(QtPlatformTest, MessageBoxShowsTheTextModally) {
    QtPlatform platform(QtPlatform::Mode::Interactive);
    QString shown;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
    });
    platform.MessageBox("system error! ");
    EXPECT_EQ(shown, "system error! ");
}

TEST(QtPlatformTest, YesNoBoxAnswersWithTheButtonClicked) {
    QtPlatform platform(QtPlatform::Mode::Interactive);
    for (const bool yes : {true, false}) {
        QString shown;
        WhenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            shown = box->text();
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(platform.YesNoBox("Do you really want to delete this event?"), yes);
        EXPECT_EQ(shown, "Do you really want to delete this event?");
    }
    // Without an operator nothing is confirmed.
    QtPlatform headless(QtPlatform::Mode::Headless);
    std::vector<std::string> told;
    headless.SetMessageSink([&](const std::string& text) { told.push_back(text); });
    EXPECT_FALSE(headless.YesNoBox("Delete?"));
    EXPECT_EQ(told, std::vector<std::string>{"Delete?"});
}

TEST(QtPlatformTest, ConnectDialogAsksWithItsTextsAndReturnsTheTypedAddress) {
    QtPlatform platform(QtPlatform::Mode::Interactive);
    struct Case {
        bool clickYes;
        const char* typed;
    };
    for (const Case c : {Case{true, "127.0.0.9"}, Case{false, "127.0.0.8"}}) {
        SCOPED_TRACE(c.clickYes);
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<ConnectDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Connection");
            QStringList texts;
            for (const QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
            EXPECT_TRUE(texts.contains("Connect to Sonar Head ?"));
            EXPECT_TRUE(texts.contains("IP address:"));
            EXPECT_TRUE(
                texts.contains("Click \"YES\" for real-time data acquisition or click "
                               "\"NO\" for file playback"));
            EXPECT_EQ(dialog->AddressEdit()->text(), "192.168.0.2");
            EXPECT_EQ(dialog->YesButton()->text(), "YES");
            EXPECT_EQ(dialog->NoButton()->text(), "NO");
            EXPECT_TRUE(dialog->YesButton()->isDefault());
            EXPECT_FALSE(dialog->NoButton()->isDefault());
            EXPECT_EQ(dialog->pos(), QPoint(500, 500));
            dialog->AddressEdit()->setText(c.typed);
            (c.clickYes ? dialog->YesButton() : dialog->NoButton())->click();
        });
        std::string address = "192.168.0.2";
        EXPECT_EQ(platform.ConnectDialog(address), c.clickYes);
        EXPECT_EQ(address, c.typed);
    }
}

TEST(QtPlatformTest, ReturnInTheConnectDialogMeansYes) {
    QtPlatform platform(QtPlatform::Mode::Interactive);
    WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<ConnectDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog->AddressEdit(), Qt::Key_Return);
    });
    std::string address = "127.0.0.2";
    EXPECT_TRUE(platform.ConnectDialog(address));
}

}  // namespace

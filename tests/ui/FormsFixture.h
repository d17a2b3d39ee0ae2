#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "chart/TChart.h"
#include "tests/bars/BarTestFiles.h"
#include "ui/ApplicationForms.h"

namespace quillon::testing_ui {

// Runs whileOpen on the modal window that the code under test opens next.
template <typename Window>
void WhenModal(const std::function<void(Window&)>& whileOpen) {
    QTimer::singleShot(0, [whileOpen] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        whileOpen(*window);
    });
}

// Saves a picture of the widget under the build folder for a person to look at.
inline void SaveScreenshot(QWidget& widget, const QString& name) {
    const QDir folder(QStringLiteral(QUILLON_SCREENSHOT_DIR));
    EXPECT_TRUE(folder.mkpath(QStringLiteral(".")) &&
                widget.grab().save(folder.filePath(name + QStringLiteral(".png"))));
}

// The program's windows, the main one shown, with the desktop's dialogs replaced: the open dialog
// answers with dialogAnswer_ (nothing: cancel); the error box records its text. A test may set
// the program's locale; the next starts with the system's again.
class FormsFixture : public testing::Test {
protected:
    void SetUp() override {
        form1_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1_));
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* widget = form1_.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    TChartModel& Series() { return Find<TChart>("Chart1")->Model(); }
    std::size_t CandleCount() { return Series().Series17().Candles().size(); }

    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    void SetText(const char* edit, const QString& text) { Find<QLineEdit>(edit)->setText(text); }
    // The "get file *.CSV" button with the dialog answering path.
    void ChooseFile(const QString& path) {
        dialogAnswer_ = path;
        Click("Button2");
    }
    // A bar file, by default the generator's 1,900 lines, as EURUSD60.csv in a temporary folder.
    QString BarFile(const QString& folder,
                    const std::string& text = BarFileText(TBarFileSettings{})) {
        EXPECT_TRUE(QDir(folder_.path()).mkpath(folder));
        const QString path = folder_.filePath(folder + QStringLiteral("/EURUSD60.csv"));
        WriteQuietFile(QFile::encodeName(path).toStdString(), text);
        return path;
    }
    // Clicks the button and, inside the modal loop it starts, runs whileOpen on the window
    // expected; then closes the window if it is still open.
    void ClickAndWhileOpen(const char* button, QDialog& expected,
                           const std::function<void()>& whileOpen) {
        const QDialog* shown = nullptr;
        WhenModal<QDialog>([&](QDialog& modal) {
            shown = &modal;
            whileOpen();
            modal.close();
        });
        Click(button);
        EXPECT_EQ(shown, &expected);
    }

    QTemporaryDir folder_;
    QStringList errors_;
    std::optional<QString> dialogAnswer_;
    // How many runs the live pipeline has made, each a read and a run of a watched file.
    std::atomic<int> watchedRuns_{0};
    TApplicationForms forms_{
        TDesktopServices{[this](QWidget*, const TOpenDialog&) { return dialogAnswer_; },
                         [this](QWidget*, const QString& text) { errors_ << text; },
                         {},
                         [this](const QString& path, const TRunSettings& settings) {
                             ++watchedRuns_;
                             return RunWatchedFile(path, settings);
                         }}};
    TForm1& form1_ = forms_.Form1;
};

} // namespace quillon::testing_ui

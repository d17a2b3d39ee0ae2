#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
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
    ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
    EXPECT_TRUE(widget.grab().save(folder.filePath(name + QStringLiteral(".png"))));
}

// The program's windows, shown, with the desktop's dialogs replaced: the open dialog records the
// name it offers and answers with dialogAnswer_ (nothing: cancel); the error box records its text.
class FormsFixture : public testing::Test {
protected:
    void SetUp() override {
        form1_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form1_));
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* widget = form1_.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLabel* Label(const char* name) { return Find<QLabel>(name); }
    TChart* Chart() { return Find<TChart>("Chart1"); }
    TChartModel& Series() { return Chart()->Model(); }
    std::size_t CandleCount() { return Series().Series17().Candles().size(); }

    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    // Replaces the edit box's text the way the user would: select all, delete, type.
    void Type(const char* editName, const QString& text) {
        auto* edit = Find<QLineEdit>(editName);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    // The "get file *.CSV" button with the dialog answering path.
    void ChooseFile(const QString& path) {
        dialogAnswer_ = path;
        Click("Button2");
    }
    // A generated bar file of barCount lines, as the terminal writes it, in a temporary folder.
    QString BarFile(const QString& folder, int barCount = 1900) {
        EXPECT_TRUE(QDir(folder_.path()).mkpath(folder));
        const QString path = folder_.filePath(folder + QStringLiteral("/EURUSD60.csv"));
        WriteQuietFile(QFile::encodeName(path).toStdString(),
                       BarFileText(TBarFileSettings{.barCount = barCount}));
        return path;
    }

    QTemporaryDir folder_;
    QStringList errors_;
    std::optional<QString> dialogAnswer_;
    QStringList presetNames_;
    TApplicationForms forms_{
        TDesktopServices{[this](QWidget*, const TOpenDialog& dialog) {
                             presetNames_ << dialog.FileName();
                             return dialogAnswer_;
                         },
                         [this](QWidget*, const QString& text) { errors_ << text; }}};
    TForm1& form1_ = forms_.Form1;
};

} // namespace quillon::testing_ui

#pragma once

#include <gtest/gtest.h>

#include <optional>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "chart/TChart.h"
#include "ui/ApplicationForms.h"

namespace quillon::testing_ui {

// The program's windows with the desktop's dialogs replaced: the open dialog answers with
// dialogAnswer (nothing: cancel) and the error box only records its text.
class FormsFixture : public testing::Test {
protected:
    void SetUp() override;

    template <typename T>
    T* Find(const char* name) {
        T* widget = forms_.Form1.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
    QLabel* Label(const char* name) { return Find<QLabel>(name); }
    TChart* Chart() { return Find<TChart>("Chart1"); }
    TChartModel& Series() { return Chart()->Model(); }

    void Click(const char* buttonName) { QTest::mouseClick(Button(buttonName), Qt::LeftButton); }
    // Replaces the edit box's text the way the user would: select all, type.
    void Type(const char* editName, const QString& text);
    // The "get file *.CSV" button with the dialog answering path.
    void ChooseFile(const QString& path);

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

// The same, with a bar file of 1,900 generated bars in a terminal's experts/files folder.
class TerminalFileFixture : public FormsFixture {
protected:
    void SetUp() override;

    QTemporaryDir folder_;
    QString terminalFile_;
};

// Writes the project's made-up bar file of barCount lines, as the terminal writes it.
void WriteGeneratedBarFile(const QString& path, int barCount);

// Saves a picture of the widget under the build folder for a person to look at.
void SaveScreenshot(QWidget& widget, const QString& name);

} // namespace quillon::testing_ui

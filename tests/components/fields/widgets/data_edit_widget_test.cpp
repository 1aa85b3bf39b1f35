#include "fields/widgets/data_edit_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/message_service.h"

namespace velmor::components {
namespace {

// A window with a labelled field and a second field to move the focus to.
struct FieldWindow {
    FieldWindow() {
        auto* layout = new QVBoxLayout(&window);
        label = new QLabel(&window);
        field = new DataEditWidget(&window);
        other = new DataEditWidget(&window);
        layout->addWidget(label);
        layout->addWidget(field);
        layout->addWidget(other);
        label->setBuddy(field);
        field->SetCaption("&Height");
        field->SetUnitsString("L2");
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
    }
    void type(const QString& text) {
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    QWidget window;
    QLabel* label;
    DataEditWidget* field;
    DataEditWidget* other;
};

TEST(DataEditWidget, BuddyLabelShowsCaptionAndUnitsAndFollowsEnabling) {
    FieldWindow w;
    EXPECT_EQ(w.field->EditLabel(), w.label);
    EXPECT_EQ(w.label->text(), "&Height (ft)");
    w.field->SetUnits(2);
    EXPECT_EQ(w.label->text(), "&Height (m)");
    w.field->setEnabled(false);
    EXPECT_FALSE(w.label->isEnabled());
    w.field->setEnabled(true);
    EXPECT_TRUE(w.label->isEnabled());
}

TEST(DataEditWidget, EnterEvaluatesAndAnOperatorThenExtendsTheValue) {
    platform::RecordingMessages messages;
    FieldWindow w;
    w.type("2*3");
    QTest::keyClick(w.field, Qt::Key_Return);
    EXPECT_EQ(w.field->text(), "6");
    EXPECT_EQ(w.field->selectedText(), "6");
    QTest::keyClicks(w.field, "*2");
    EXPECT_EQ(w.field->text(), "6*2");
    QTest::keyClick(w.field, Qt::Key_Enter);
    EXPECT_EQ(w.field->text(), "12");
    // A digit typed over the selection replaces the value as usual.
    QTest::keyClicks(w.field, "7");
    EXPECT_EQ(w.field->text(), "7");
    EXPECT_TRUE(messages.shown.empty());
}

TEST(DataEditWidget, LeavingWithAValueAboveTheMaximumWritesTheBoundAndKeepsTheFocus) {
    platform::RecordingMessages messages;
    FieldWindow w;
    w.field->SetMaxVal(10);
    w.type("12");
    QTest::keyClick(w.field, Qt::Key_Tab);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Entry must be less than or equal to 10");
    EXPECT_EQ(w.field->text(), "10");
    EXPECT_TRUE(w.field->hasFocus());
    EXPECT_FALSE(w.field->Valid());
}

TEST(DataEditWidget, FormPropertiesKeepTheirDecimalValues) {
    platform::RecordingMessages messages;
    DataEditWidget field;
    field.setProperty("MinVal", 0.1);
    field.setProperty("Number", 0.12);
    EXPECT_EQ(field.text(), "0.12");
    field.setText("0");
    EXPECT_FALSE(ValidateDataEdit(&field));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Entry must be greater than or equal to 0.1");
}

}  // namespace
}  // namespace velmor::components

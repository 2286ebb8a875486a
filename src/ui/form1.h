#pragma once

#include "diary/diary.h"
#include "ui/message_boxes.h"
#include "ui/program_state.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWheelEvent;

namespace velmora {

class ChartToolTips;
class ClickableLabel;
class ContextMenu;
class DragBox;
class Form2;
class MouseArea;
class TrendChartView;

// The main window: the chart with its column of entries and marker, the row of
// thirteen entry boxes, the user panel and the buttons. Every workflow is the
// handler of one of its controls. Files, message boxes and the clock come from
// outside, so the whole window can be driven in tests.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    Form1(DataFolder &folder, MessageBoxes &messages, Clock clock, QWidget *parent = nullptr);
    ~Form1() override;

    // The start-up sequence. False when the program cannot keep its data
    // (the user list can neither be created nor read); the caller then ends.
    bool load();

    // The diary behind the window: its records, scores, selection and user.
    const Diary &diary() const { return m_diary; }
    ProgramState &state() { return m_state; }
    TrendChartView *chartView() const { return m_picture1; }
    Form2 *keypad() const;
    // The right-click menu of the chart and the column, to which the reports add their entries.
    ContextMenu &contextMenu() const { return *m_contextMenu; }
    const ChartToolTips &chartToolTips() const { return *m_chartToolTips; }

    // Workflows behind the buttons.
    void StoreRecord();
    void LoadRecord(int label);
    void ModifyRecord();
    void ClearEntry();

    // A change of the diary asked for from outside the window's own controls
    // (the history entries of the context menu): it runs with the chart style
    // the window shows, and the window then shows the diary and the outcome.
    Outcome changeDiary(const std::function<Outcome(Diary &, ChartStyle)> &change);

signals:
    void exitRequested();
    // A workflow of the window has written a file of the diary.
    void diaryChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Construction (form1.cpp).
    void createControls();
    void createEntryRow();
    void createRecordMenu();
    void createLowerPanel();
    void createUserPanel();
    void applyTabOrder();
    void connectHandlers();

    // The diary shown: chart, column, marker, captions and what a workflow asks (form1.cpp).
    void applyOutcome(const Outcome &outcome);
    void showDiary();
    EntryTexts entryTexts() const;
    void setEntryTexts(const EntryTexts &texts);
    ChartStyle chartStyle() const;

    // Users (form1_users.cpp).
    void showUserPanel();
    void pickUser(int index);
    void confirmUser();
    void deleteUser();
    void showUserNames();
    void setEntryControlsEnabled(bool enabled);

    // Records (form1_records.cpp).
    void display();

    // Chart, column and marker (form1_chart.cpp).
    void hoverLabel(int index);
    void resetLabelColours();
    void doubleClickLabel(int index);
    void markerButtonDown(QPointF twips);
    void markerMoved(QPointF twips);
    void markerButtonUp();
    void turnWheel(const QWheelEvent &event);

    // Keyboard access and accessible names (form1_keyboard.cpp).
    void setUpKeyboardAccess();
    void describeControls();
    void nameShownTexts(); // the record labels and the user's name, in their accessible names

    // Statement and keypad (form1_keypad.cpp).
    void toggleStatement();
    void hideStatement();
    void clickUserCaption();
    void openKeypad(int titleIndex);
    void keypadActivated();
    void keypadClosing();
    void dropKeypadRequests();
    void handBackKeypad();

    Diary m_diary;
    ProgramState m_state;
    int m_shownChartRevision = -1;

    int m_dragActive = 0;
    int m_wheelAngle = 0; // eighths of a degree turned and not yet a whole notch
    double m_dragAnchorX = 0;
    double m_dragAnchorY = 0;
    bool m_keypadWasActive = false;
    bool m_keypadClosed = false;

    // Controls, named as in the window design.
    TrendChartView *m_picture1 = nullptr;
    ClickableLabel *m_image1 = nullptr;
    DragBox *m_picture2 = nullptr;
    std::array<ClickableLabel *, 20> m_label4{};
    MouseArea *m_image4 = nullptr;
    std::array<QWidget *, 4> m_emptyAreas{}; // Image2, Image3, Image5, Image6
    QComboBox *m_combo1 = nullptr;
    std::array<QLineEdit *, 11> m_text{}; // Text2 .. Text12
    QComboBox *m_combo12 = nullptr;
    std::array<ClickableLabel *, 13> m_label2{};
    ClickableLabel *m_label1 = nullptr;
    ClickableLabel *m_label3 = nullptr;
    ClickableLabel *m_label5 = nullptr;
    ClickableLabel *m_label6 = nullptr;
    ClickableLabel *m_label7 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command4 = nullptr;
    QPushButton *m_command5 = nullptr;
    QPushButton *m_command6 = nullptr;
    QPushButton *m_command7 = nullptr;
    QPushButton *m_command8 = nullptr;
    QPushButton *m_command11 = nullptr;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QFrame *m_frame1 = nullptr;
    QComboBox *m_combo2 = nullptr;
    QPointer<Form2> m_form2;
    ContextMenu *m_contextMenu = nullptr;
    ChartToolTips *m_chartToolTips = nullptr;

    QLineEdit *text(int n) const { return m_text[size_t(n - 2)]; } // Text2 .. Text12
};

} // namespace velmora

#pragma once

#include <QWidget>

#include <array>

class QLineEdit;
class QPushButton;

namespace velmora {

struct ProgramState;

// The on-screen keypad: a small window of its own (no owner) whose keys append
// to the shared KeypadBuffer. The main window hands the buffer to the boxes
// that asked for it when it becomes active again.
class Form2 : public QWidget
{
    Q_OBJECT
public:
    explicit Form2(ProgramState &state);

    QPushButton *key(int index) const { return m_command2[size_t(index)]; }

signals:
    void activated();
    // The keypad goes away by its own "返回" key or its window's close button.
    void closingByUser();
    // Esc: the keypad goes without handing its text to anyone (closingByUser follows).
    void cancelled();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // Digits and "." type as the keys do, Backspace erases the last character, Esc cancels.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pressKey(int index);
    void eraseLast();
    void clearBuffer();

    ProgramState &m_state;
    std::array<QPushButton *, 11> m_command2{};
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command1 = nullptr;
    QLineEdit *m_text1 = nullptr;
};

} // namespace velmora

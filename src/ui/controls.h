#pragma once

#include "ui/key_filter.h"

#include <QComboBox>
#include <QLabel>
#include <QPointF>
#include <QWidget>

namespace velmora {

// A label that reports clicks, double clicks and pointer moves. A double click
// is preceded by exactly one click, as the toolkit's users expect.
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget *parent = nullptr);

signals:
    void clicked();
    void doubleClicked();
    void mouseMoved();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // With the keyboard: Enter or Space clicks, Ctrl+Enter double clicks, and
    // taking the focus counts as the pointer coming over the label.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
    bool m_inDoubleClick = false;
};

// A drop-down combo whose Enter takes the text and goes on to the dialog, as
// in a text box, so that it presses the default button.
class DialogCombo : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// An editable drop-down combo in 宋体 12 pt with a key filter on its text box.
// Its list is made when it is first opened: the toolkit's own handling of a
// font change would make it at once, with the item view code it needs.
class SongTiCombo : public DialogCombo
{
    Q_OBJECT
public:
    SongTiCombo(KeyFilter filter, QWidget *parent);

protected:
    void changeEvent(QEvent *event) override;
};

// An empty area of the layout that reports pointer moves (and swallows clicks).
class MouseArea : public QWidget
{
    Q_OBJECT
public:
    explicit MouseArea(QWidget *parent = nullptr);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

// A small picture box that reports button-down, move and button-up with the
// pointer position in its own twips.
class DragBox : public QWidget
{
    Q_OBJECT
public:
    explicit DragBox(QWidget *parent = nullptr);
    void setPicture(const QImage &picture);

signals:
    void buttonDown(QPointF twips);
    void moved(QPointF twips);
    void buttonUp(QPointF twips);
    // Arrow and page keys move the box by this many twips (Home and End: very far).
    void keyboardStep(double twips);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
};

} // namespace velmora

#pragma once

#include <QObject>
#include <QPoint>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QKeySequence;
class QLabel;
class QMenu;
class QWidget;

namespace velmora {

// The right-click menu of the chart and of the column of records, and the
// window shortcuts of its entries. The reports and the history of the diary
// add their entries; an entry about one record is offered only when the menu
// is opened on a record label that shows one, and learns which label that is.
class ContextMenu : public QObject
{
    Q_OBJECT
public:
    ContextMenu(QWidget &window, QWidget &chart, QWidget &column, const std::array<QLabel *, 20> &labels);

    QMenu *menu() const { return m_menu; }
    // The label the menu was opened on, or -1 (the chart, the column around the labels, a shortcut).
    int label() const { return m_label; }

    // An entry for the whole menu, at its end or before the entry `before`;
    // its shortcut works anywhere in the window.
    QAction *addAction(const QString &text, const QKeySequence &shortcut, std::function<void()> triggered,
                       QAction *before = nullptr);
    // An entry about the record of the label the menu was opened on: it is
    // shown only there, and gets that label's index.
    QAction *addRecordAction(const QString &text, std::function<void(int label)> triggered);
    void addSeparator();

    // Opens the menu as a right click on `control` at `globalPosition` would.
    void openAt(QWidget *control, QPoint globalPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int labelIndexOf(const QObject *control) const;

    QWidget &m_window;
    std::vector<QWidget *> m_watched;
    std::array<QLabel *, 20> m_labels;
    std::vector<QAction *> m_recordActions;
    QMenu *m_menu = nullptr;
    int m_label = -1;
    QWidget *m_pressed = nullptr; // where the right button went down
    bool m_waitingForRelease = false;
    QPoint m_menuPosition;
};

} // namespace velmora

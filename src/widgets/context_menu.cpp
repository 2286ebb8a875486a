#include "widgets/context_menu.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace velmora {

ContextMenu::ContextMenu(QWidget &window, QWidget &chart, QWidget &column, const std::array<QLabel *, 20> &labels)
    : QObject(&window), m_window(window), m_labels(labels)
{
    setObjectName(QStringLiteral("ContextMenu"));
    m_menu = new QMenu(&window);
    m_menu->setObjectName(QStringLiteral("ReportMenuPopup"));
    QPalette colours = m_menu->palette();
    colours.setColor(QPalette::Highlight, QColor(192, 255, 192));
    colours.setColor(QPalette::HighlightedText, QColor(16, 48, 16));
    m_menu->setPalette(colours);
    m_watched = {&chart, &column};
    for (QLabel *label : labels)
        m_watched.push_back(label);
    for (QWidget *control : m_watched)
        control->installEventFilter(this);
}

QAction *ContextMenu::addAction(const QString &text, const QKeySequence &shortcut, std::function<void()> triggered,
                                QAction *before)
{
    auto *action = new QAction(text, this);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true); // the menu names the keys
    connect(action, &QAction::triggered, this, std::move(triggered));
    m_menu->insertAction(before, action);
    m_window.addAction(action); // the shortcut works anywhere in the window
    return action;
}

QAction *ContextMenu::addRecordAction(const QString &text, std::function<void(int)> triggered)
{
    auto *action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [this, triggered = std::move(triggered)] {
        if (m_label >= 0)
            triggered(m_label);
    });
    m_menu->addAction(action);
    m_recordActions.push_back(action);
    return action;
}

void ContextMenu::addSeparator()
{
    m_menu->addSeparator();
}

int ContextMenu::labelIndexOf(const QObject *control) const
{
    const auto found = std::find(m_labels.begin(), m_labels.end(), control);
    return found == m_labels.end() ? -1 : int(found - m_labels.begin());
}

void ContextMenu::openAt(QWidget *control, QPoint globalPosition)
{
    const int label = labelIndexOf(control);
    m_label = label >= 0 && !m_labels[size_t(label)]->text().isEmpty() ? label : -1;
    for (QAction *action : m_recordActions)
        action->setVisible(m_label >= 0);
    m_menu->popup(globalPosition);
}

bool ContextMenu::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ContextMenu: {
        const auto control = std::find(m_watched.begin(), m_watched.end(), watched);
        if (control == m_watched.end())
            break;
        auto *request = static_cast<QContextMenuEvent *>(event);
        if (request->reason() == QContextMenuEvent::Mouse && (QGuiApplication::mouseButtons() & Qt::RightButton)) {
            // Asked for on the press: the release must still reach the window as
            // before (it ends a drag of the window, it clicks an entry label),
            // so the menu opens once the button is up.
            m_menuPosition = request->globalPos();
            m_pressed = *control;
            if (!m_waitingForRelease) {
                m_waitingForRelease = true;
                qApp->installEventFilter(this);
            }
        } else {
            openAt(*control, request->globalPos());
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_waitingForRelease && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
            m_waitingForRelease = false;
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, this, [this, control = m_pressed, at = m_menuPosition] { openAt(control, at); });
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velmora

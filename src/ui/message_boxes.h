#pragma once

#include "diary/seams.h"

#include <QString>

class QWidget;

namespace velmora {

// Modal boxes titled "Velmora", without an icon.
class QtMessageBoxes : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    void inform(const QString &text) override;
    bool ask(const QString &question) override;

private:
    QWidget *m_parent;
};

} // namespace velmora

#include "ui/form2.h"

#include "ui/green_style.h"
#include "ui/light_palette.h"
#include "ui/program_state.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace velmora {

namespace {

struct KeyLayout
{
    const char *caption;
    int left, top, width, height;
};
constexpr KeyLayout Keys[11] = {
    {"1", 120, 120, 375, 300},  {"2", 600, 120, 375, 300},  {"3", 1080, 120, 375, 300}, {"4", 1560, 120, 375, 300},
    {"5", 2040, 120, 375, 300}, {"6", 120, 600, 375, 300},  {"7", 600, 600, 375, 300},  {"8", 1080, 600, 375, 300},
    {"9", 1560, 600, 375, 300}, {"0", 2040, 600, 375, 300}, {".", 840, 1080, 375, 375},
};

// For screen readers: the digit keys are named after their digit, the
// others after what they do ("c" is no word).
void describeKeypad(const std::array<QPushButton *, 11> &keys, QLineEdit *display, QPushButton *clear,
                    QPushButton *back)
{
    for (QPushButton *key : keys) {
        const QString caption = key->text();
        const bool point = caption == QStringLiteral(".");
        key->setAccessibleName(point ? QStringLiteral("小数点") : QStringLiteral("数字%1").arg(caption));
        key->setAccessibleDescription(point ? QStringLiteral("在已输入的数字后加上小数点")
                                            : QStringLiteral("在已输入的数字后加上%1").arg(caption));
    }
    display->setAccessibleName(QStringLiteral("已输入的数字"));
    display->setAccessibleDescription(QStringLiteral("按“返回”后填入所选的输入框"));
    clear->setAccessibleName(QStringLiteral("清除"));
    clear->setAccessibleDescription(QStringLiteral("清除已输入的数字"));
    back->setAccessibleName(QStringLiteral("返回"));
    back->setAccessibleDescription(QStringLiteral("关闭小键盘，把已输入的数字填入所选的输入框"));
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, int l, int t, int w, int h)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(twips::rect(l, t, w, h));
    return b;
}

} // namespace

Form2::Form2(ProgramState &state)
    : QWidget(nullptr, Qt::Window | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint), m_state(state)
{
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Velmora"));
    setFixedSize(twips::toPixels(2565), twips::toPixels(1620));

    QFont keyFont(QStringLiteral("宋体"), 12);
    keyFont.setBold(true);
    for (int k = 0; k < 11; ++k) {
        const KeyLayout &layout = Keys[k];
        QPushButton *key = makeButton(this, QStringLiteral("Command2(%1)").arg(k), QString::fromLatin1(layout.caption),
                                      layout.left, layout.top, layout.width, layout.height);
        key->setFont(keyFont);
        connect(key, &QPushButton::clicked, this, [this, k] { pressKey(k); });
        m_command2[size_t(k)] = key;
    }
    m_text1 = new QLineEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(twips::rect(120, 1080, 615, 375));
    m_text1->setReadOnly(true);
    m_text1->setFocusPolicy(Qt::NoFocus);
    m_command3 = makeButton(this, QStringLiteral("Command3"), QStringLiteral("c"), 1320, 1080, 375, 375);
    m_command1 = makeButton(this, QStringLiteral("Command1"), QStringLiteral("返回"), 1800, 1080, 615, 375);
    connect(m_command3, &QPushButton::clicked, this, &Form2::clearBuffer);
    connect(m_command1, &QPushButton::clicked, this, &QWidget::close);
    setAccessibleName(QStringLiteral("数字小键盘"));
    describeKeypad(m_command2, m_text1, m_command3, m_command1);
    useLightPalette(this);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0, 192, 0));
    setPalette(background);
    setAutoFillBackground(true);
    GreenStyle::keypad()->applyTo(this);

    // The window opens where the main window asked, in screen twips.
    move(twips::toPixels(m_state.KeypadLeft), twips::toPixels(m_state.KeypadTop));
}

void Form2::pressKey(int index)
{
    m_state.KeypadBuffer += m_command2[size_t(index)]->text().trimmed();
    m_text1->setText(m_state.KeypadBuffer);
}

void Form2::eraseLast()
{
    m_state.KeypadBuffer.chop(1);
    m_text1->setText(m_state.KeypadBuffer);
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    // The keyboard's digits and "." (the number pad's too) press the key of that caption.
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    for (int k = 0; plain && typed.size() == 1 && k < int(m_command2.size()); ++k) {
        if (m_command2[size_t(k)]->text() == typed) {
            pressKey(k);
            return;
        }
    }
    if (event->key() == Qt::Key_Backspace) {
        eraseLast();
    } else if (event->key() == Qt::Key_Escape) {
        emit cancelled();
        close();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void Form2::clearBuffer()
{
    m_state.KeypadBuffer.clear();
    m_text1->clear();
}

bool Form2::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        emit activated();
    return QWidget::event(event);
}

void Form2::closeEvent(QCloseEvent *event)
{
    emit closingByUser();
    event->accept();
}

void Form2::paintEvent(QPaintEvent *)
{
    // The keypad's outline.
    QPainter painter(this);
    painter.setPen(QColor(0, 90, 0));
    painter.drawRect(twips::rect(0, 0, 2535, 1575).adjusted(0, 0, -1, -1));
}

} // namespace velmora

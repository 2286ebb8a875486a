// Everything the mouse does, the keyboard can do; every control has an
// accessible name and description for screen readers.

#include "ui/form1.h"

#include "chart/record_menu.h"
#include "records/record_id.h"
#include "ui/controls.h"
#include "ui/screen_reader.h"
#include "ui/trend_chart_view.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace velmora {

namespace {

struct Description
{
    const char *objectName;
    const char16_t *name;
    const char16_t *description;
};

// The entry boxes are named after their factor and unit.
constexpr Description Descriptions[] = {
    {"Picture1", u"趋势图", u"各次记录的风险评分随时间的变化；越高越危险"},
    {"Image1", u"声明", u"本程序的用途、免责声明、使用步骤和计量单位；按“声明”按钮关闭"},
    {"Picture2", u"记录列滚动标记", u"上下拖动或用方向键、翻页键移动，以浏览更多记录"},
    {"Image4", u"记录列", u"按日期时间列出的记录"},
    {"Combo1", u"性别", u"从列表中选择男或女"},
    {"Text2", u"年龄（岁）", u"整数，1到130"},
    {"Text3", u"身高（厘米）", u"不超过230"},
    {"Text4", u"体重（千克）", u"不超过200"},
    {"Text5", u"甘油三脂（mmol/L）", u"不超过20"},
    {"Text6", u"收缩压，血压高（mmHg）", u"不超过300"},
    {"Text7", u"舒张压，血压低（mmHg）", u"不超过300"},
    {"Text8", u"血糖（mmol/L）", u"不超过40"},
    {"Text9", u"吸烟（年）", u"不超过100"},
    {"Text10", u"饮酒（年）", u"不超过100"},
    {"Text11", u"胆固醇（mmol/L）", u"不超过20"},
    {"Text12", u"腰围（厘米）", u"腰围，单位厘米"},
    {"Combo12", u"遗传", u"家族遗传史：从列表中选择有或无，或留空"},
    {"Label1", u"所选记录的日期时间", u"点击右侧记录列中的记录后显示"},
    {"Label3", u"当前用户姓名：", u"点击可关闭声明"},
    {"Label5", u"当前用户", u"已选择的用户姓名"},
    {"Label7", u"所选记录编号", u"所选记录的日期时间编号"},
    {"Command1", u"显示", u"读取当前用户的全部记录并画出趋势图"},
    {"Command2", u"存储数据", u"把填写的十三项数据存为一条新记录"},
    {"Command3", u"退出", u"结束程序"},
    {"Command4", u"删除用户", u"删除所选用户及其全部记录"},
    {"Command5", u"清空", u"清空输入框、趋势图和记录列，不改动已存数据"},
    {"Command6", u"选择用户", u"打开用户面板，选择或添加用户"},
    {"Command7", u"声明", u"显示或隐藏声明"},
    {"Command8", u"修改数据", u"用输入框中的数据替换所选记录"},
    {"Option1", u"直线", u"以竖线画出每条记录"},
    {"Option2", u"曲线", u"以折线连接各条记录"},
    {"Frame1", u"用户面板", u"选择或输入用户姓名"},
    {"Combo2", u"用户姓名", u"从列表中选择用户，或输入新用户的姓名"},
    {"Label6", u"提示", u"如果下拉框中无选择的用户，可以在此添加"},
    {"Command11", u"确定返回", u"确认所选或输入的用户并关闭用户面板"},
};

// What each title strip opens, by index.
constexpr const char16_t *TitleNames[13] = {u"性别", u"年龄", u"身高", u"体重", u"甘油三脂", u"血压/高", u"血压/低",
                                            u"血糖", u"吸烟", u"饮酒", u"胆固醇", u"遗传", u"腰围"};

// A record label as a screen reader says it: its place in the column and
// the date and time it shows, "记录 1：2023年01月05日 08:30:00".
QString recordLabelName(int index, const QString &caption)
{
    QString said = caption;
    if (isRecordIdText(caption))
        said = QStringLiteral("%1年%2月%3日 %4:%5:%6")
                   .arg(caption.left(4), caption.mid(4, 2), caption.mid(6, 2), caption.mid(8, 2), caption.mid(10, 2),
                        caption.mid(12, 2));
    else if (caption.isEmpty())
        said = QStringLiteral("空");
    return QStringLiteral("记录 %1：%2").arg(index + 1).arg(said);
}

// Every change of a name is announced to screen readers, so only real ones.
void setNameIfChanged(QWidget *widget, const QString &name)
{
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

} // namespace

void Form1::describeControls()
{
    for (const Description &d : Descriptions) {
        if (auto *widget = findChild<QWidget *>(QString::fromLatin1(d.objectName))) {
            widget->setAccessibleName(QString::fromUtf16(d.name));
            widget->setAccessibleDescription(QString::fromUtf16(d.description));
        }
    }
    // An editable combo's text box is a control of its own for a screen reader.
    for (QComboBox *combo : findChildren<QComboBox *>())
        nameDropDownTextBox(*combo);
    setAccessibleName(QStringLiteral("Velmora 心脑血管健康日记"));
    for (int j = 0; j < menu::LabelCount; ++j) {
        m_label4[size_t(j)]->setAccessibleDescription(
            QStringLiteral("回车：把这条记录填入输入框；Ctrl+回车：放大显示并填入；上下方向键：上一条、下一条"));
    }
    for (int i = 0; i < 13; ++i) {
        const QString title = QString::fromUtf16(TitleNames[i]);
        const bool opensKeypad = i != 0 && i != 11;
        m_label2[size_t(i)]->setAccessibleName(title);
        m_label2[size_t(i)]->setAccessibleDescription(
            opensKeypad ? QStringLiteral("回车：打开数字小键盘，为“%1”输入数字").arg(title)
                        : QStringLiteral("栏目标题"));
    }
    nameShownTexts();
    nameDropDownListsForScreenReaders(*this);
}

void Form1::nameShownTexts()
{
    for (int j = 0; j < menu::LabelCount; ++j)
        setNameIfChanged(m_label4[size_t(j)], recordLabelName(j, m_label4[size_t(j)]->text()));
    const QString user = m_label5->text();
    setNameIfChanged(m_label5, QStringLiteral("当前用户：%1").arg(user.isEmpty() ? QStringLiteral("未选择") : user));
}

void Form1::setUpKeyboardAccess()
{
    // The column's labels and the keypad's title strips follow the window's own tab order.
    QWidget *last = m_combo2;
    const auto append = [&](QWidget *widget) {
        widget->setFocusPolicy(Qt::TabFocus);
        setTabOrder(last, widget);
        last = widget;
    };
    for (ClickableLabel *label : m_label4)
        append(label);
    for (int i : {1, 2, 3, 12, 10, 4, 5, 6, 7, 8, 9})
        append(m_label2[size_t(i)]);
    connect(m_picture2, &DragBox::keyboardStep, this, [this](double step) {
        m_diary.dragMarkerTo(m_diary.markerTop() + step);
        showDiary();
    });
}

void Form1::keyPressEvent(QKeyEvent *event)
{
    // Up and down move between the labels of the column.
    for (int j = 0; j < menu::LabelCount; ++j) {
        if (!m_label4[size_t(j)]->hasFocus())
            continue;
        if (event->key() == Qt::Key_Up && j > 0) {
            m_label4[size_t(j - 1)]->setFocus(Qt::OtherFocusReason);
            return;
        }
        if (event->key() == Qt::Key_Down && j + 1 < menu::LabelCount) {
            m_label4[size_t(j + 1)]->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    // Alt with an arrow moves the borderless window, as dragging its background does.
    if (event->modifiers() & Qt::AltModifier) {
        const int step = (event->modifiers() & Qt::ShiftModifier) ? 1 : 10;
        QPoint delta;
        switch (event->key()) {
        case Qt::Key_Left: delta = QPoint(-step, 0); break;
        case Qt::Key_Right: delta = QPoint(step, 0); break;
        case Qt::Key_Up: delta = QPoint(0, -step); break;
        case Qt::Key_Down: delta = QPoint(0, step); break;
        default: break;
        }
        if (!delta.isNull()) {
            move(pos() + delta);
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && m_image1->isVisible()) {
        hideStatement();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace velmora

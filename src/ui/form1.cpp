#include "ui/form1.h"

#include "chart/record_menu.h"
#include "diary/messages.h"
#include "ui/controls.h"
#include "ui/form2.h"
#include "ui/green_style.h"
#include "ui/key_filter.h"
#include "ui/light_palette.h"
#include "ui/pictures.h"
#include "ui/screen_reader.h"
#include "ui/trend_chart_view.h"
#include "ui/window_placement.h"
#include "widgets/chart_tooltips.h"
#include "widgets/context_menu.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace velmora {

namespace {

const QColor LightGreen(192, 255, 192); // buttons, option buttons, the user panel, lower labels
const QColor DarkGreen(0, 128, 0);      // the column titles' text

const QSize ClientSize(876, 599);     // 13140 x 8985 twips

// Left of each entry box and of the title strip under it, by title index.
constexpr int TitleLefts[13] = {360, 1320, 2280, 3240, 6120, 7080, 8040, 9000, 9960, 10920, 5160, 11880, 4200};

template <typename W>
W *place(W *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twips::rect(left, top, width, height));
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int l, int t, int w, int h)
{
    auto *b = place(new QPushButton(caption, parent), name, l, t, w, h);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

// The largest size, up to the label's own, at which its wrapped text fits
// `height` pixels: the hint of the user panel must be read whole above its button.
void fitWrappedText(QLabel *label, int height)
{
    QFont font = label->font();
    const QRectF room(0, 0, label->width(), 10 * height);
    for (qreal size = font.pointSizeF(); size > 6; size -= 0.5) {
        font.setPointSizeF(size);
        if (QFontMetricsF(font).boundingRect(room, Qt::TextWordWrap, label->text()).height() <= height)
            break;
    }
    label->setFont(font);
}

ClickableLabel *lowerLabel(QWidget *parent, const char *name, const QString &caption, int l, int t, int w, int h)
{
    auto *label = place(new ClickableLabel(parent), name, l, t, w, h);
    label->setText(caption);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, LightGreen);
    label->setPalette(palette);
    return label;
}

} // namespace

Form1::Form1(DataFolder &folder, MessageBoxes &messages, Clock clock, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_diary(folder, messages, std::move(clock))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmora"));
    setWindowIcon(pictureIcon(QStringLiteral("icon")));
    setFixedSize(ClientSize);
    setMouseTracking(true);
    installLabelTexts(); // before any label exists: a screen reader keeps what it got first
    createControls();
    useLightPalette(this);
    GreenStyle::mainWindow()->applyTo(this);
    applyTabOrder();
    connectHandlers();
    setUpKeyboardAccess();
    describeControls();
    std::array<QLabel *, menu::LabelCount> labels{};
    std::copy(m_label4.begin(), m_label4.end(), labels.begin());
    m_contextMenu = new ContextMenu(*this, *m_picture1, *m_image4, labels);
    m_chartToolTips = new ChartToolTips(m_diary, *m_picture1, *m_image1, labels);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // The keypad has no owner: it must not keep the program alive on its own.
    if (m_form2) {
        m_form2->blockSignals(true);
        m_form2->close();
    }
    QWidget::closeEvent(event);
}

Form1::~Form1()
{
    if (m_form2)
        delete m_form2.data();
}

void Form1::createControls()
{
    // Empty areas of the layout lie behind everything else.
    m_emptyAreas[0] = place(new QWidget(this), "Image2", 360, 6360, 12495, 255);
    m_emptyAreas[1] = place(new QWidget(this), "Image5", 360, 7440, 6615, 1335);
    m_emptyAreas[2] = place(new QWidget(this), "Image6", 6960, 7440, 5895, 495);
    m_emptyAreas[3] = place(new QWidget(this), "Image3", 6960, 7920, 5895, 855);
    for (QWidget *area : m_emptyAreas)
        area->setAttribute(Qt::WA_TransparentForMouseEvents); // the window drags through them
    m_image4 = place(new MouseArea(this), "Image4", 11400, 240, 1455, 6135);

    m_picture1 = place(new TrendChartView(this), "Picture1", 360, 360, 10815, 6015);
    m_image1 = place(new ClickableLabel(m_picture1), "Image1", 0, 0, 10815, 6135);
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image1->setAutoFillBackground(true); // its picture is drawn when it is first shown

    m_picture2 = place(new DragBox(this), "Picture2", menu::MarkerLeft, 240, 185, 185);
    m_picture2->setPicture(loadPicture(QStringLiteral("marker"), devicePixelRatioF()));
    m_picture2->setCursor(Qt::SizeVerCursor);

    createRecordMenu();
    createEntryRow();
    createLowerPanel();
    createUserPanel();
}

void Form1::createRecordMenu()
{
    for (int j = 0; j < menu::LabelCount; ++j) {
        const QByteArray name = "Label4(" + QByteArray::number(j) + ")";
        auto *label = place(new ClickableLabel(this), name.constData(), 11520, menu::LabelTops[j], 1200, 255);
        label->setCursor(Qt::PointingHandCursor);
        QFont small = label->font();
        small.setPointSizeF(7.5); // all fourteen digits of a RecordId fit the label
        label->setFont(small);
        m_label4[size_t(j)] = label;
    }
}

void Form1::createEntryRow()
{
    m_combo1 = place(new SongTiCombo(KeyFilter::ListOnly, this), "Combo1", 360, 6600, 960, 360);
    m_combo12 = place(new SongTiCombo(KeyFilter::ListOnly, this), "Combo12", 11880, 6600, 960, 360);
    m_combo1->addItems({QStringLiteral("男"), QStringLiteral("女")});
    m_combo1->setEditText(QStringLiteral("男"));
    m_combo12->addItems({QStringLiteral("有"), QStringLiteral("无")});
    m_combo12->setEditText(QStringLiteral("无"));

    // Text2 .. Text12 by their Left on the row.
    constexpr int lefts[11] = {1320, 2280, 3240, 6120, 7080, 8040, 9000, 9960, 10920, 5160, 4200};
    for (int n = 2; n <= 12; ++n) {
        const QByteArray name = "Text" + QByteArray::number(n);
        auto *edit = place(new FilteredLineEdit(n == 2 ? KeyFilter::Integer : KeyFilter::Decimal, this),
                           name.constData(), lefts[n - 2], 6600, 960, 375);
        m_text[size_t(n - 2)] = edit;
    }

    for (int i = 0; i < 13; ++i) {
        const QByteArray name = "Label2(" + QByteArray::number(i) + ")";
        auto *title = place(new ClickableLabel(this), name.constData(), TitleLefts[i], 6960, 960, 420);
        title->setText(i == 0 ? QStringLiteral("  ") : (i == 11 ? QString() : QStringLiteral(" ")));
        QPalette palette = title->palette();
        palette.setColor(QPalette::WindowText, DarkGreen);
        title->setPalette(palette);
        title->setCursor(i == 0 || i == 11 ? Qt::ArrowCursor : Qt::PointingHandCursor);
        m_label2[size_t(i)] = title;
    }
}

void Form1::createLowerPanel()
{
    m_label7 = place(new ClickableLabel(this), "Label7", 480, 7440, 1815, 255);
    m_label7->setVisible(false); // holds the RecordId of the loaded entry; Label1 shows its date
    m_label3 = lowerLabel(this, "Label3", QStringLiteral("当前用户姓名："), 7200, 7680, 1335, 195);
    m_label5 = lowerLabel(this, "Label5", QString(), 8640, 7560, 1335, 315);
    m_label1 = lowerLabel(this, "Label1", QString(), 10080, 7560, 2655, 315);
    QFont nameFont = m_label5->font();
    nameFont.setBold(true);
    m_label5->setFont(nameFont);
    m_label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label5->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label1->setAlignment(Qt::AlignCenter);

    m_command6 = button(this, "Command6", QStringLiteral("选择用户"), 7080, 8040, 1455, 320);
    m_option2 = place(new QRadioButton(QStringLiteral("曲线"), this), "Option2", 8640, 8000, 855, 320);
    m_option1 = place(new QRadioButton(QStringLiteral("直线"), this), "Option1", 9600, 8000, 855, 320);
    m_option1->setChecked(true);
    m_command4 = button(this, "Command4", QStringLiteral("删除用户"), 10560, 8000, 1095, 345);
    m_command2 = button(this, "Command2", QStringLiteral("存储数据"), 11760, 8000, 975, 700);
    m_command7 = button(this, "Command7", QStringLiteral("声明"), 7080, 8405, 735, 320);
    m_command1 = button(this, "Command1", QStringLiteral("显示"), 7920, 8400, 615, 320);
    m_command5 = button(this, "Command5", QStringLiteral("清空"), 8640, 8400, 855, 320);
    m_command8 = button(this, "Command8", QStringLiteral("修改数据"), 9600, 8400, 885, 320);
    m_command3 = button(this, "Command3", QStringLiteral("退出"), 10560, 8400, 1095, 320);
}

void Form1::createUserPanel()
{
    m_frame1 = place(new QFrame(this), "Frame1", 6960, 6240, 2055, 1695);
    m_frame1->setAutoFillBackground(true);
    QPalette palette = m_frame1->palette();
    palette.setColor(QPalette::Window, LightGreen);
    m_frame1->setPalette(palette);

    auto *shape1 = place(new QFrame(m_frame1), "Shape1", 0, 0, 2055, 1695);
    shape1->setFrameShape(QFrame::Box);
    shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_combo2 = place(new SongTiCombo(KeyFilter::UserName, m_frame1), "Combo2", 120, 120, 1815, 360);

    m_label6 = place(new ClickableLabel(m_frame1), "Label6", 120, 600, 1815, 615);
    m_label6->setText(QStringLiteral("（如果下拉框中无选择的用户，可以在此添加。）"));
    m_label6->setWordWrap(true);
    m_command11 = button(m_frame1, "Command11", QStringLiteral("确定返回"), 120, 1200, 1815, 375);
    fitWrappedText(m_label6, m_command11->y() - m_label6->y());
    m_frame1->raise();
}

void Form1::applyTabOrder()
{
    // Lowest tab index first.
    const QList<QWidget *> order = {
        m_command2, m_picture2, m_command3, m_command4, m_command5, text(10), text(9),   text(8),
        text(7),    text(6),    text(5),    text(4),    text(3),    text(2),  m_combo12, m_combo1,
        text(11),   m_command7, m_command8, text(12),   m_option1,  m_option2, m_command1, m_command6,
        m_command11, m_combo2,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form1::connectHandlers()
{
    connect(m_command3, &QPushButton::clicked, this, [this] {
        if (m_form2)
            m_form2->close();
        emit exitRequested();
    });
    connect(m_command6, &QPushButton::clicked, this, &Form1::showUserPanel);
    connect(m_combo2, qOverload<int>(&QComboBox::activated), this, &Form1::pickUser);
    connect(m_command11, &QPushButton::clicked, this, &Form1::confirmUser);
    connect(m_command4, &QPushButton::clicked, this, &Form1::deleteUser);
    connect(m_command1, &QPushButton::clicked, this, &Form1::display);
    connect(m_command2, &QPushButton::clicked, this, &Form1::StoreRecord);
    connect(m_command8, &QPushButton::clicked, this, &Form1::ModifyRecord);
    connect(m_command5, &QPushButton::clicked, this, &Form1::ClearEntry);
    connect(m_command7, &QPushButton::clicked, this, &Form1::toggleStatement);

    for (int j = 0; j < menu::LabelCount; ++j) {
        ClickableLabel *label = m_label4[size_t(j)];
        connect(label, &ClickableLabel::mouseMoved, this, [this, j] { hoverLabel(j); });
        connect(label, &ClickableLabel::clicked, this, [this, j] { LoadRecord(j); });
        connect(label, &ClickableLabel::doubleClicked, this, [this, j] { doubleClickLabel(j); });
        label->installEventFilter(this);
    }
    connect(m_image4, &MouseArea::mouseMoved, this, &Form1::resetLabelColours);
    m_image4->installEventFilter(this); // the wheel, with the labels and the marker
    m_picture2->installEventFilter(this);
    connect(m_picture2, &DragBox::buttonDown, this, &Form1::markerButtonDown);
    connect(m_picture2, &DragBox::moved, this, &Form1::markerMoved);
    connect(m_picture2, &DragBox::buttonUp, this, &Form1::markerButtonUp);

    connect(m_image1, &ClickableLabel::clicked, this, &Form1::hideStatement);
    connect(m_label5, &ClickableLabel::clicked, this, &Form1::hideStatement);
    connect(m_label6, &ClickableLabel::clicked, this, &Form1::hideStatement);
    connect(m_label7, &ClickableLabel::clicked, this, &Form1::hideStatement);
    connect(m_label3, &ClickableLabel::clicked, this, &Form1::clickUserCaption);
    for (int i = 0; i < 13; ++i)
        connect(m_label2[size_t(i)], &ClickableLabel::clicked, this, [this, i] { openKeypad(i); });
    // Coming back from another program is no return from the keypad.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            m_keypadWasActive = false;
    });
}

bool Form1::load()
{
    // 1. The entry boxes stay disabled until a user is confirmed.
    setEntryControlsEnabled(false);
    // 2.
    m_frame1->hide();
    // 3. Where the window design puts it, moved in when the screen is too small.
    const QRect design(twips::toPixels(1000), twips::toPixels(500), width(), height());
    QScreen *target = QGuiApplication::screenAt(design.topLeft());
    move(placeInside(design, (target ? target : screen())->availableGeometry()));
    // 4. to 6.: the coefficients, the user list.
    if (!m_diary.load())
        return false;
    showUserNames();
    m_combo2->setEditText(QString());
    // 7.
    m_image1->hide();
    handBackKeypad(); // the first activation; no box has asked yet
    return true;
}

void Form1::showDiary()
{
    if (m_shownChartRevision != m_diary.chartRevision()) {
        m_picture1->setMarks(m_diary.chartMarks());
        m_shownChartRevision = m_diary.chartRevision();
    }
    for (int j = 0; j < menu::LabelCount; ++j)
        m_label4[size_t(j)]->setText(m_diary.recordColumn()[size_t(j)]);
    m_picture2->move(twips::toPixels(menu::MarkerLeft), twips::toPixels(m_diary.markerTop()));
    m_label1->setText(m_diary.selectedDate());
    m_label5->setText(m_diary.shownUser());
    m_label7->setText(m_diary.selectedId());
    nameShownTexts();
}

void Form1::applyOutcome(const Outcome &outcome)
{
    showDiary();
    if (outcome.userListChanged)
        showUserNames();
    if (outcome.userText)
        m_combo2->setEditText(*outcome.userText);
    if (outcome.hideUserPanel)
        m_frame1->hide();
    switch (outcome.fields) {
    case Outcome::Fields::Keep:
        break;
    case Outcome::Fields::Empty:
        setEntryTexts({});
        break;
    case Outcome::Fields::Fill:
        setEntryTexts(outcome.texts);
        break;
    }
    setEntryControlsEnabled(m_diary.entryControlsEnabled());
    if (outcome.saved())
        emit diaryChanged();
}

EntryTexts Form1::entryTexts() const
{
    EntryTexts texts;
    texts.sex = m_combo1->currentText();
    for (int n = 2; n <= 12; ++n)
        texts.box(n) = text(n)->text();
    texts.heredity = m_combo12->currentText();
    return texts;
}

void Form1::setEntryTexts(const EntryTexts &texts)
{
    // In the order the workflows empty and fill them: the numbers, heredity, sex.
    for (int n = 2; n <= 12; ++n)
        text(n)->setText(texts.box(n));
    m_combo12->setEditText(texts.heredity);
    m_combo1->setEditText(texts.sex);
}

ChartStyle Form1::chartStyle() const
{
    return m_option1->isChecked() ? ChartStyle::Bars : ChartStyle::Curve;
}

void Form1::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    paintPicture(painter, QStringLiteral("background"), devicePixelRatioF(), event->rect());
}

} // namespace velmora

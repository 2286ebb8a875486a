// The chart, the column of entries, the marker and the window drag, driven
// through the mouse.

#include "chart/trend_chart.h"
#include "gui_support.h"

#include "ui/trend_chart_view.h"

#include <QApplication>
#include <QPainter>

using namespace velmora;
using namespace velmora::test;
using namespace Qt::StringLiterals;

namespace {

// The pointer moving over a widget with these buttons held (none: passing over it).
void hover(QWidget *widget, QPoint at = QPoint(5, 5), Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton, held,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

std::unique_ptr<Window> shown(const QByteArray &records)
{
    auto w = std::make_unique<Window>("Ann\r\nBob\r\n");
    w->startWithAnn(records);
    return w;
}

// Drags the marker from its place by dy pixels.
void dragMarker(Window &w, int dy)
{
    QWidget *marker = w.child("Picture2");
    const QPoint start(5, 5);
    QTest::mousePress(marker, Qt::LeftButton, {}, start);
    hover(marker, start + QPoint(7, dy), Qt::LeftButton);
    QTest::mouseRelease(marker, Qt::LeftButton, {}, start + QPoint(7, dy));
}

} // namespace

class GuiChartTest : public QObject
{
    Q_OBJECT

private slots:
    void hoverHighlightsOneLabel()
    {
        auto w = shown(womanEntries(3));
        const auto colour = [&](int j) { return w->menuLabel(j)->palette().color(QPalette::WindowText); };
        const QColor normal = w->form->palette().color(QPalette::ButtonText);
        hover(w->menuLabel(1));
        QCOMPARE(colour(1), QColor(192, 0, 0));
        hover(w->menuLabel(2));
        QCOMPARE(colour(1), normal);
        QCOMPARE(colour(2), QColor(192, 0, 0));
        const QColor before = colour(15);
        hover(w->menuLabel(15)); // empty: keeps its colour, resets the others
        QCOMPARE(colour(2), normal);
        QCOMPARE(colour(15), before);
        hover(w->menuLabel(0));
        hover(w->child("Image4"), QPoint(3, 3));
        QCOMPARE(colour(0), normal);
        hover(w->menuLabel(0));
        hover(w->form.get(), QPoint(400, 580));
        QCOMPARE(colour(0), normal);
    }

    void dragDoubleClickAndTheStyleOfTheNextRedraw()
    {
        auto w = shown(womanEntries(40));
        // Down 35 px (525 twips) to Top 885: the column starts at position 7.
        dragMarker(*w, 35);
        QCOMPARE(w->form->diary().menuOffset(), 7);
        QCOMPARE(w->menuLabel(3)->text(), QStringLiteral("20100101000010"));
        QTest::mouseMove(w->child("Picture2"), QPoint(2, 2)); // no button held: it stays
        QCOMPARE(w->form->diary().menuOffset(), 7);

        w->doubleClickMenuLabel(3);
        QCOMPARE(w->caption("Label7"), QStringLiteral("20100101000010"));
        QCOMPARE(w->text(2)->text(), QStringLiteral("30"));
        QCOMPARE(w->menuLabel(3)->text(), QStringLiteral("20100101000003"));
        QCOMPARE(w->child("Picture2")->pos(), QPoint(856, 24));

        // The style is read at the next redraw, not when it is chosen.
        QCOMPARE(w->form->chartView()->marks().size(), size_t(40));
        w->click("Option2");
        QCOMPARE(w->form->chartView()->marks().size(), size_t(40));
        w->click("Command1");
        QCOMPARE(w->form->chartView()->marks().size(), size_t(40 * 2 + 39));
    }

    void wheelScrollsTheColumn_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("over");  // the control under the pointer
        QTest::addColumn<int>("delta");     // eighths of a degree a turn; a notch is 120, negative towards the user
        QTest::addColumn<int>("turns");
        QTest::addColumn<double>("top");    // the marker's top afterwards, twips
        QTest::addColumn<int>("offset");
        // 40 records: 90 twips an entry, from the marker's home at Top 360 (offset 0 after a redraw).
        QTest::newRow("a notch down over an entry") << 40 << u"Label4(3)"_s << -120 << 1 << 450.0 << 2;
        QTest::newRow("a notch up over the marker") << 40 << u"Picture2"_s << 120 << 1 << 270.0 << 0;
        QTest::newRow("half notches add up") << 40 << u"Label4(7)"_s << -60 << 2 << 450.0 << 2;
        QTest::newRow("half a notch does nothing") << 40 << u"Label4(7)"_s << -60 << 1 << 360.0 << 0;
        QTest::newRow("not over the chart") << 40 << u"Picture1"_s << -120 << 1 << 360.0 << 0;
        // 10 records: 360 twips an entry; the track's bottom gives offset 16.
        QTest::newRow("down past the track's bottom") << 10 << u"Image4"_s << -120 << 30 << 6040.0 << 16;
        QTest::newRow("no records: nothing moves") << 0 << u"Image4"_s << -120 << 1 << 360.0 << 0;
    }
    void wheelScrollsTheColumn()
    {
        QFETCH(int, records);
        QFETCH(QString, over);
        QFETCH(int, delta);
        QFETCH(int, turns);
        QFETCH(double, top);
        QFETCH(int, offset);
        auto w = shown(womanEntries(records));
        // As the window system delivers it: to the window, which hands it to the control under the pointer.
        const QPointF at = w->child(over)->mapTo(w->form.get(), QPointF(3, 3));
        for (int i = 0; i < turns; ++i) {
            QWheelEvent wheel(at, w->form->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(w->form->windowHandle(), &wheel);
        }
        QCOMPARE(w->form->diary().markerTop(), top);
        QCOMPARE(w->child("Picture2")->y(), qRound(top / 15));
        QCOMPARE(w->form->diary().menuOffset(), offset);
        const QString first = offset < records ? QString::number(20100101000000LL + offset) : QString();
        QCOMPARE(w->menuLabel(0)->text(), first);
    }

    void longHistoriesPaintEveryBar()
    {
        // However many bars share a pixel column, each shows up to its own height.
        std::vector<double> scores;
        for (int i = 0; i < 3000; ++i)
            scores.push_back(500 + (i * 7919) % 5000);
        const auto marks = trendChartMarks(scores, 3000, ChartStyle::Bars, 1500);
        for (qreal scale : {1.0, 2.0}) {
            QImage image(QSize(721, 401) * scale, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(scale);
            QPainter painter(&image);
            TrendChartView::paintChart(painter, QSize(721, 401), QImage(), marks);
            painter.end();
            const auto red = [&](double xTwips, double yTwips) {
                const QPoint p(int(std::floor(xTwips / 15 * scale)), int(std::floor(yTwips / 15 * scale)));
                return image.pixelColor(p) == QColor(255, 0, 0);
            };
            for (const ChartMark &bar : marks) {
                QVERIFY(red(bar.x1, bar.y2));     // its top
                QVERIFY(red(bar.x1, 6000 - 0.5)); // its foot
            }
            QVERIFY(red(marks[1500].x1 + 60, marks[1500].y2)); // the enlarged bar is 62 twips wide
            QVERIFY(!red(marks[0].x1, 6000 - 5600));          // nothing above the tallest score
        }
    }

    void draggingTheBackgroundMovesTheWindow()
    {
        auto w = shown(QByteArray());
        const QPoint before = w->form->pos();
        QTest::mousePress(w->form.get(), Qt::LeftButton, {}, QPoint(400, 580));
        hover(w->form.get(), QPoint(430, 560), Qt::LeftButton);
        QTest::mouseRelease(w->form.get(), Qt::LeftButton, {}, QPoint(430, 560));
        QCOMPARE(w->form->pos(), before + QPoint(30, -20));
        QTest::mouseMove(w->form.get(), QPoint(300, 580));
        QCOMPARE(w->form->pos(), before + QPoint(30, -20));
    }

    // Only a left drag still held moves the window: a press whose release went
    // to a menu or a dialog leaves it where it is.
    void onlyAHeldLeftDragMovesTheWindow_data()
    {
        QTest::addColumn<QString>("pressed"); // the window, or a label of the column
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("held"); // the buttons down while the pointer then moves
        QTest::newRow("right press on a record label, released in its menu")
            << "Label4(0)" << int(Qt::RightButton) << int(Qt::NoButton);
        QTest::newRow("right drag on the background") << "" << int(Qt::RightButton) << int(Qt::RightButton);
        QTest::newRow("middle drag on the background") << "" << int(Qt::MiddleButton) << int(Qt::MiddleButton);
        QTest::newRow("left press released in a dialog") << "" << int(Qt::LeftButton) << int(Qt::NoButton);
    }

    void onlyAHeldLeftDragMovesTheWindow()
    {
        QFETCH(QString, pressed);
        QFETCH(int, button);
        QFETCH(int, held);
        auto w = shown(threeRecords());
        QWidget *target = pressed.isEmpty() ? w->form.get() : w->child(pressed);
        const QPoint before = w->form->pos();
        QTest::mousePress(target, Qt::MouseButton(button), {}, QPoint(5, 5));
        for (const QPoint at : {QPoint(430, 560), QPoint(300, 500)})
            hover(w->form.get(), at, Qt::MouseButtons(held));
        QCOMPARE(w->form->pos(), before);
    }
};

QTEST_MAIN(GuiChartTest)
#include "tst_gui_chart.moc"

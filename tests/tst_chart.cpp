// The chart's marks and the marker's arithmetic.

#include "chart/record_menu.h"
#include "chart/trend_chart.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace velmora;
using Kind = ChartMark::Kind;

class ChartTest : public QObject
{
    Q_OBJECT

private slots:
    // Scores beyond every range are drawn at the top, in both styles, with finite coordinates.
    void hugeScoresReachTheTopEdge()
    {
        const std::vector<double> scores{5e300, std::numeric_limits<double>::infinity(), std::nan("")};
        for (ChartStyle style : {ChartStyle::Bars, ChartStyle::Curve}) {
            const auto marks = trendChartMarks(scores, 3, style);
            std::vector<float> tops;
            for (const ChartMark &mark : marks) {
                if (mark.kind == Kind::Rectangle)
                    tops.push_back(mark.y2);
                else if (mark.kind == Kind::Circle)
                    tops.push_back(mark.y1);
            }
            QCOMPARE(tops, (std::vector<float>{float(6000 - 1e6), float(6000 - 1e6), 5999.f}));
        }
    }

    // Each point joined to the previous one; the highlighted entry's circle is enlarged.
    void curveJoinsEachPointToThePrevious()
    {
        const std::vector<double> scores{1000, 2000, -5};
        const auto marks = trendChartMarks(scores, 3, ChartStyle::Curve, 1);
        QCOMPARE(marks.size(), size_t(3 + 3 + 2));
        QCOMPARE(marks[0], (ChartMark{Kind::Circle, 753, 5000, 0, 0, 35}));
        QCOMPARE(marks[1], (ChartMark{Kind::Point, 753, 5000, 0, 0, 0}));
        QCOMPARE(marks[2], (ChartMark{Kind::Circle, 3753, 4000, 0, 0, 65})); // no line before the first point
        QCOMPARE(marks[4], (ChartMark{Kind::Line, 3753, 4000, 753, 5000, 0}));
        QCOMPARE(marks[7], (ChartMark{Kind::Line, 6753, 5999, 3753, 4000, 0}));
    }

    void markerOffsets_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("offset");
        QTest::newRow("10 home") << 10 << 360.0 << 0;
        QTest::newRow("30 home: exactly one entry") << 30 << 360.0 << 1;
        QTest::newRow("40 at 660: 4.67 rounds down") << 40 << 660.0 << 4;
        QTest::newRow("100 bottom") << 100 << 6040.0 << 161;
    }

    void markerOffsets()
    {
        QFETCH(int, count);
        QFETCH(double, top);
        QFETCH(int, offset);
        QCOMPARE(menuOffsetForMarker(top, count), std::optional<int>(offset));
    }
};

QTEST_APPLESS_MAIN(ChartTest)
#include "tst_chart.moc"

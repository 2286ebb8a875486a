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
    // Four entries 2250 twips apart, each bar from the baseline up to its score; a score of 0 at 1.
    // Twenty-five entries are 360 apart.
    void workedExampleBars()
    {
        const std::vector<double> scores{2500, 0, 4500, 7000};
        const std::vector<ChartMark> expected{
            {Kind::Rectangle, 751, 6000, 753, 3500, 0},
            {Kind::Rectangle, 3001, 6000, 3003, 5999, 0},
            {Kind::Rectangle, 5251, 6000, 5253, 1500, 0},
            {Kind::Rectangle, 7501, 6000, 7503, -1000, 0},
        };
        QCOMPARE(trendChartMarks(scores, 4, ChartStyle::Bars), expected);
        QCOMPARE(trendChartMarks(std::vector<double>(25, 500), 25, ChartStyle::Bars).back().x1, 750.f + 8641);
    }

    // Scores beyond every range are drawn at the top, in both styles, with finite coordinates;
    // a score that is no number at 1.
    void hugeScoresReachTheTopEdge()
    {
        const std::vector<double> scores{5e300, std::numeric_limits<double>::infinity(), std::nan("")};
        const std::vector<float> tops{float(6000 - 1e6), float(6000 - 1e6), 5999.f};
        const auto bars = trendChartMarks(scores, 3, ChartStyle::Bars);
        QCOMPARE((std::vector<float>{bars[0].y2, bars[1].y2, bars[2].y2}), tops);
        const auto curve = trendChartMarks(scores, 3, ChartStyle::Curve); // circles at 0, 2 and 5
        QCOMPARE((std::vector<float>{curve[0].y1, curve[2].y1, curve[5].y1}), tops);
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

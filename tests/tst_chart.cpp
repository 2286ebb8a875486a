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
    void workedExampleBars()
    {
        const std::vector<double> scores{2500, 0, 4500, 7000};
        const auto marks = trendChartMarks(scores, 4, ChartStyle::Bars);
        const std::vector<ChartMark> expected{
            {Kind::Rectangle, 751, 6000, 753, 3500, 0},
            {Kind::Rectangle, 3001, 6000, 3003, 5999, 0},
            {Kind::Rectangle, 5251, 6000, 5253, 1500, 0},
            {Kind::Rectangle, 7501, 6000, 7503, -1000, 0},
        };
        QCOMPARE(marks, expected);
    }

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

    void oneEntryAndNone()
    {
        const std::vector<double> one{100};
        const auto marks = trendChartMarks(one, 1, ChartStyle::Bars);
        QCOMPARE(marks.size(), size_t(1));
        QCOMPARE(marks[0].x1, 751.f);
        QCOMPARE(marks[0].x2, 753.f);
        QVERIFY(trendChartMarks({}, 0, ChartStyle::Bars).empty());
        QVERIFY(trendChartMarks(one, 0, ChartStyle::Curve).empty());
    }

    void twentyFiveEntriesAre360Apart()
    {
        const std::vector<double> scores(25, 500);
        const auto marks = trendChartMarks(scores, 25, ChartStyle::Bars);
        QCOMPARE(marks.size(), size_t(25));
        for (int k = 0; k < 25; ++k)
            QCOMPARE(marks[size_t(k)].x1, float(750 + 1 + 360 * k));
        QCOMPARE(marks.back().x1, 750.f + 8641);
    }

    void curveJoinsEachPointToThePrevious()
    {
        const std::vector<double> scores{1000, 2000, -5};
        const auto marks = trendChartMarks(scores, 3, ChartStyle::Curve);
        QCOMPARE(marks.size(), size_t(3 + 3 + 2));
        QCOMPARE(marks[0], (ChartMark{Kind::Circle, 753, 5000, 0, 0, 35}));
        QCOMPARE(marks[1], (ChartMark{Kind::Point, 753, 5000, 0, 0, 0}));
        QCOMPARE(marks[2].kind, Kind::Circle); // no line before the first point
        QCOMPARE(marks[4], (ChartMark{Kind::Line, 3753, 4000, 753, 5000, 0}));
        QCOMPARE(marks[7], (ChartMark{Kind::Line, 6753, 5999, 3753, 4000, 0}));
    }

    void highlightedEntryIsEnlarged()
    {
        const std::vector<double> scores{1000, 2000, 3000};
        const auto bars = trendChartMarks(scores, 3, ChartStyle::Bars, 1);
        QCOMPARE(bars[1].x2, float(812 + 3001));
        QCOMPARE(bars[0].x2, 753.f);
        const auto curve = trendChartMarks(scores, 3, ChartStyle::Curve, 1);
        QCOMPARE(curve[2].radius, 65.f);
        QCOMPARE(curve[0].radius, 35.f);
        QCOMPARE(curve[4].kind, Kind::Line); // still joined to its neighbours
        QCOMPARE(curve[7].kind, Kind::Line);
    }

    void markerOffsets_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("top");
        QTest::addColumn<int>("offset");
        QTest::newRow("10 home") << 10 << 360.0 << 0;
        QTest::newRow("10 1440") << 10 << 1440.0 << 3;
        QTest::newRow("10 bottom") << 10 << 6040.0 << 16;
        QTest::newRow("30 home") << 30 << 360.0 << 1;
        QTest::newRow("30 1440") << 30 << 1440.0 << 10;
        QTest::newRow("30 bottom") << 30 << 6040.0 << 48;
        QTest::newRow("100 home") << 100 << 360.0 << 3;
        QTest::newRow("100 1440") << 100 << 1440.0 << 33;
        QTest::newRow("100 bottom") << 100 << 6040.0 << 161;
    }

    void markerOffsets()
    {
        QFETCH(int, count);
        QFETCH(double, top);
        QFETCH(int, offset);
        QCOMPARE(menuOffsetForMarker(top, count), std::optional<int>(offset));
    }

    void markerLimits()
    {
        QCOMPARE(clampMarkerTop(-500), 240.0);
        QCOMPARE(clampMarkerTop(9000), 6040.0);
        QCOMPARE(clampMarkerTop(1000), 1000.0);
        QCOMPARE(menuOffsetForMarker(1000, 0), std::nullopt);
    }

    void dateCaption()
    {
        QCOMPARE(recordDateCaption(QStringLiteral("20090620210129")), QStringLiteral("2009年06月20日21时01分29秒"));
    }
};

QTEST_APPLESS_MAIN(ChartTest)
#include "tst_chart.moc"

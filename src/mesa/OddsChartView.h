#pragma once

#include "dice/chart/OddsChart.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

// The chart of the odds (pctChances): the OddsChart of one or more distributions painted in
// the window's colours, one series as bars, several as lines, each named in a legend as it
// was written; axes with values and Brazilian percentages ("12,5 %"); the rolled total
// marked. It draws by pixel column, so a distribution of a hundred thousand values costs what
// one of a few hundred does.
//
// While newer odds are worked out it keeps the last chart with a "calculando…" mark; with no
// chart it shows a message instead (why there are no exact odds).
class OddsChartView final : public QWidget
{
    Q_OBJECT

public:
    explicit OddsChartView(QWidget *parent = nullptr);

    // Shows these series in `view` (the chart is built once here, not at every paint). More
    // chances than OddsChart::MaxCells leave no chart and say so.
    void setSeries(std::vector<ChartSeries> series);
    void setView(ChartView view);
    ChartView view() const { return m_view; }
    // The chart shown, or nothing.
    const OddsChart *chart() const { return m_chart ? &*m_chart : nullptr; }

    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }
    // A note that the chart is an estimate ("estimativa por 20.000 rolagens"); empty: exact.
    void setEstimate(const QString &note);
    const QString &estimate() const { return m_estimate; }
    // The message shown instead of a chart; a chart hides it.
    void setMessage(const QString &message);
    const QString &message() const { return m_message; }
    // The rolled total, marked on the chart; nothing: no mark.
    void setMarker(std::optional<Fraction> value);
    std::optional<Fraction> marker() const { return m_marker; }

    // Paints the whole chart into `area` of `painter`, in `palette`'s colours (paintEvent, and
    // pictures of it).
    void render(QPainter &painter, const QRect &area, const QPalette &palette) const;
    // The colour of series `index` over `palette`'s base: the SVG's colours, lightened on a
    // dark base so that they keep their contrast.
    static QColor seriesColour(const QPalette &palette, qsizetype index);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuild();
    void describe();

    std::vector<ChartSeries> m_series;
    ChartView m_view = ChartView::Exactly;
    std::optional<OddsChart> m_chart;
    bool m_busy = false;
    QString m_estimate;
    QString m_message;
    std::optional<Fraction> m_marker;
};

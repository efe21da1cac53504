#include "mesa/OddsChartView.h"

#include "dice/chart/ChartAxes.h"
#include "dice/chart/ChartSvg.h"
#include "dice/format/OddsText.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

QColor blend(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(a.redF() * (1 - t) + b.redF() * t),
                            float(a.greenF() * (1 - t) + b.greenF() * t),
                            float(a.blueF() * (1 - t) + b.blueF() * t));
}

// WCAG's relative luminance and contrast ratio.
double luminance(const QColor &c)
{
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString percentLabel(double p)
{
    QByteArray label;
    OddsText::appendDecimal(label, p * 100, 4);
    label += " %";
    return QString::fromUtf8(label);
}

QString valueLabel(double v)
{
    QByteArray label;
    OddsText::appendDecimal(label, v, 4);
    return QString::fromUtf8(label);
}

} // namespace

OddsChartView::OddsChartView(QWidget *parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Gráfico das chances"));
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    describe();
}

QSize OddsChartView::sizeHint() const
{
    return {520, 240};
}

QSize OddsChartView::minimumSizeHint() const
{
    return {240, 140};
}

void OddsChartView::setSeries(std::vector<ChartSeries> series)
{
    m_series = std::move(series);
    rebuild();
}

void OddsChartView::setView(ChartView view)
{
    if (view == m_view)
        return;
    m_view = view;
    rebuild();
}

void OddsChartView::rebuild()
{
    m_chart.reset();
    if (!m_series.empty()) {
        const qsizetype rows = OddsChart::rowsOverAllValues(m_series);
        if (rows > OddsChart::MaxCells / qsizetype(m_series.size()))
            m_message = QStringLiteral("Valores demais para o gráfico (mais de %1 chances).")
                            .arg(OddsChart::MaxCells);
        else
            m_chart.emplace(m_series, m_view);
    }
    describe();
    update();
}

void OddsChartView::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    describe();
    update();
}

void OddsChartView::setEstimate(const QString &note)
{
    m_estimate = note;
    describe();
    update();
}

void OddsChartView::setMessage(const QString &message)
{
    m_message = message;
    describe();
    update();
}

void OddsChartView::setMarker(std::optional<Fraction> value)
{
    m_marker = value;
    describe();
    update();
}

QColor OddsChartView::seriesColour(const QPalette &palette, qsizetype index)
{
    // The hue kept, moved towards the text's colour (darker on a light base, lighter on a
    // dark one) until it stands out from the base as a graphic must: a contrast of 3 or more.
    const QColor hue(QLatin1StringView(ChartSvg::Colours[index % 8]));
    const QColor base = palette.color(QPalette::Base);
    const QColor towards = base.lightnessF() < 0.5 ? QColor(Qt::white) : QColor(Qt::black);
    QColor colour = hue;
    for (int step = 1; step <= 10 && contrast(colour, base) < 3; ++step)
        colour = blend(hue, towards, step * 0.08);
    return colour;
}

// What a screen reader says of the chart: what it shows and, for each series, its range.
void OddsChartView::describe()
{
    QString text;
    if (m_chart) {
        text = QString::fromUtf8(ChartAxes::heading(*m_chart));
        if (!m_estimate.isEmpty())
            text += QStringLiteral(" (") + m_estimate + u')';
        for (const ChartSeries &one : m_chart->series())
            text += QStringLiteral("; ") + QString::fromUtf8(one.name) + QStringLiteral(": de ")
                    + one.odds.minimum().decimal(4, ',') + QStringLiteral(" a ")
                    + one.odds.maximum().decimal(4, ',');
        if (m_marker)
            text += QStringLiteral("; rolado: ") + m_marker->decimal(4, ',');
    } else {
        text = m_message;
    }
    if (m_busy)
        text += QStringLiteral(" (calculando…)");
    setAccessibleDescription(text);
}

void OddsChartView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    render(painter, rect(), palette());
}

void OddsChartView::render(QPainter &painter, const QRect &area, const QPalette &palette) const
{
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    const QColor faint = blend(text, base, 0.45);
    const QColor grid = blend(text, base, 0.85);
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, base);
    painter.setPen(grid);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const QRect inner = area.adjusted(8, 4, -8, -4);

    // The heading, and the mark of odds being worked out at its right.
    QString heading = m_chart ? QString::fromUtf8(ChartAxes::heading(*m_chart)) : QString();
    if (m_chart && !m_estimate.isEmpty())
        heading += QStringLiteral(" — ") + m_estimate;
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(text);
    painter.drawText(QRect(inner.left(), inner.top(), inner.width(), line),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(bold).elidedText(heading, Qt::ElideRight, inner.width() * 3 / 4));
    painter.setFont(font());
    if (m_busy) {
        painter.setPen(faint);
        painter.drawText(QRect(inner.left(), inner.top(), inner.width(), line),
                         Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         QStringLiteral("calculando…"));
    }
    if (!m_chart) {
        painter.setPen(faint);
        painter.drawText(inner.adjusted(0, line, 0, 0), Qt::AlignCenter | Qt::TextWordWrap,
                         m_message);
        painter.restore();
        return;
    }
    const OddsChart &chart = *m_chart;
    const ChartAxes axes = ChartAxes::of(chart);

    // The legend, in rows under the heading: a swatch in each series' colour and its name.
    int y = inner.top() + line + 2;
    {
        int x = inner.left();
        for (qsizetype s = 0; s < chart.seriesCount(); ++s) {
            const QString name =
                metrics.elidedText(QString::fromUtf8(chart.series()[std::size_t(s)].name),
                                   Qt::ElideRight, inner.width() - 30);
            const int width = 22 + metrics.horizontalAdvance(name) + 14;
            if (x > inner.left() && x + width > inner.right()) {
                x = inner.left();
                y += line;
            }
            painter.fillRect(QRect(x, y + line / 2 - 3, 16, 6), seriesColour(palette, s));
            painter.setPen(text);
            painter.drawText(QRect(x + 22, y, width, line), Qt::AlignLeft | Qt::AlignVCenter, name);
            x += width;
        }
        y += line + 4;
    }

    // The plot: percentages to its left, values under it.
    const int yTicks = std::max(1, int(std::lround(axes.yHigh / axes.yStep)));
    int labelWidth = 0;
    for (int i = 0; i <= yTicks; ++i)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(percentLabel(i * axes.yStep)));
    const QRect plot(
        inner.left() + labelWidth + 6, y + line / 2,
        std::max(1, inner.width() - labelWidth - 6 - metrics.horizontalAdvance(u'0') * 3),
        std::max(1, inner.bottom() - line - 4 - (y + line / 2)));
    const double width = plot.width();
    const auto xAt = [&](double v) {
        return plot.left() + (v - axes.xLow) / (axes.xHigh - axes.xLow) * width;
    };
    const auto yAt = [&](double p) { return plot.bottom() + 1 - p / axes.yHigh * plot.height(); };

    for (int i = 0; i <= yTicks; ++i) {
        const int ty = int(std::lround(yAt(i * axes.yStep)));
        painter.setPen(grid);
        painter.drawLine(plot.left(), ty, plot.right(), ty);
        painter.setPen(text);
        painter.drawText(QRect(inner.left(), ty - line / 2, labelWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter, percentLabel(i * axes.yStep));
    }
    const double low = chart.minimum().toDouble();
    const double high = chart.maximum().toDouble();
    // Ticks far enough apart for their labels: the step doubled until they fit.
    double xStep = axes.xStep;
    const int widest = std::max(metrics.horizontalAdvance(valueLabel(low)),
                                metrics.horizontalAdvance(valueLabel(high)))
                       + 8;
    while (xStep / (axes.xHigh - axes.xLow) * width < widest && xStep < (high - low) * 2 + 1)
        xStep *= 2;
    for (double v = std::ceil(low / xStep) * xStep; v <= high + xStep * 1e-9; v += xStep) {
        const int tx = int(std::lround(xAt(v)));
        painter.setPen(text);
        painter.drawLine(tx, plot.bottom() + 1, tx, plot.bottom() + 4);
        painter.drawText(QRect(tx - 60, plot.bottom() + 4, 120, line),
                         Qt::AlignHCenter | Qt::AlignTop, valueLabel(v));
    }

    // The series, by pixel column: a column holds the highest chance of the rows that fall in
    // it, so the work is one pass over the rows and one shape per column.
    const int columns = plot.width();
    const qsizetype rows = chart.rowCount();
    const auto columnOf = [&](qsizetype r) {
        return std::clamp(int(xAt(chart.value(r).toDouble())) - plot.left(), 0, columns - 1);
    };
    painter.setRenderHint(QPainter::Antialiasing, !axes.bars);
    if (axes.bars) {
        const QColor colour = seriesColour(palette, 0);
        if (rows * 3 <= columns) {
            const double bar = std::max(width / double(rows) * 0.8, 1.0);
            for (qsizetype r = 0; r < rows; ++r) {
                const double p = chart.probability(r, 0);
                if (p > 0)
                    painter.fillRect(QRectF(xAt(chart.value(r).toDouble()) - bar / 2, yAt(p), bar,
                                            plot.bottom() + 1 - yAt(p)),
                                     colour);
            }
        } else {
            std::vector<double> top(static_cast<std::size_t>(columns), 0.0);
            for (qsizetype r = 0; r < rows; ++r) {
                double &t = top[std::size_t(columnOf(r))];
                t = std::max(t, chart.probability(r, 0));
            }
            for (int c = 0; c < columns; ++c) {
                if (top[std::size_t(c)] > 0)
                    painter.fillRect(QRectF(plot.left() + c, yAt(top[std::size_t(c)]), 1,
                                            plot.bottom() + 1 - yAt(top[std::size_t(c)])),
                                     colour);
            }
        }
    } else {
        std::vector<double> top(static_cast<std::size_t>(columns));
        std::vector<char> used(static_cast<std::size_t>(columns));
        for (qsizetype s = 0; s < chart.seriesCount(); ++s) {
            const QColor colour = seriesColour(palette, s);
            painter.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            QPolygonF points;
            if (rows * 2 <= columns) {
                for (qsizetype r = 0; r < rows; ++r)
                    points << QPointF(xAt(chart.value(r).toDouble()), yAt(chart.probability(r, s)));
            } else {
                std::fill(top.begin(), top.end(), 0.0);
                std::fill(used.begin(), used.end(), 0);
                for (qsizetype r = 0; r < rows; ++r) {
                    const auto c = std::size_t(columnOf(r));
                    top[c] = std::max(top[c], chart.probability(r, s));
                    used[c] = 1;
                }
                for (int c = 0; c < columns; ++c) {
                    if (used[std::size_t(c)])
                        points << QPointF(plot.left() + c + 0.5, yAt(top[std::size_t(c)]));
                }
            }
            painter.drawPolyline(points);
            if (rows <= 60) {
                painter.setBrush(colour);
                painter.setPen(Qt::NoPen);
                for (const QPointF &point : points)
                    painter.drawEllipse(point, 3.0, 3.0);
                painter.setBrush(Qt::NoBrush);
            }
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(text);
    painter.drawLine(plot.left(), plot.top(), plot.left(), plot.bottom() + 1);
    painter.drawLine(plot.left(), plot.bottom() + 1, plot.right(), plot.bottom() + 1);

    // The rolled total: a line on its value, with the value above it.
    if (m_marker) {
        const double v = m_marker->toDouble();
        if (v >= axes.xLow && v <= axes.xHigh) {
            const int mx = int(std::lround(xAt(v)));
            painter.setPen(QPen(text, 2, Qt::DashLine));
            painter.drawLine(mx, plot.top(), mx, plot.bottom());
            const QString label = m_marker->decimal(4, ',');
            const int labelWidthPx = metrics.horizontalAdvance(label) + 8;
            const QRect box(
                std::clamp(mx - labelWidthPx / 2, plot.left(), plot.right() - labelWidthPx),
                plot.top(), labelWidthPx, line);
            painter.fillRect(box, base);
            painter.setPen(text);
            painter.drawText(box, Qt::AlignCenter, label);
        }
    }
    painter.restore();
}

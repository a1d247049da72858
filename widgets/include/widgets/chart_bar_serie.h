#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "widgets/chart_xy_serie.h"

namespace sundrel::widgets {

// A bar from the base line to each point, filled with the series colour and
// outlined (1 pixel) in the border colour. Vertical bars stand at their X
// and reach from the base line to Y; horizontal bars lie at their Y and reach
// from the base line to X. Visible bar series of one group are placed side by
// side at equal positions, in creation order, the group centred on the
// position.
class CChartBarSerie : public CChartXYSerie {
public:
    explicit CChartBarSerie(CChartCtrl& chart);

    // pixels, >= 1 (smaller values are taken as 1)
    void setBarWidth(int pixels);
    int barWidth() const { return width_; }

    void setBorderColor(const QColor& color);
    QColor borderColor() const { return border_; }

    // Automatic: bars start at the minimum of the displayed value range.
    // Otherwise they start at `value` (axis units). Automatic by default.
    void setBaseLine(bool automatic, double value);
    bool isBaseLineAutomatic() const { return automaticBase_; }
    double baseLine() const { return base_; }

    void setGroupId(unsigned group);
    unsigned groupId() const { return group_; }

    void setHorizontal(bool horizontal);
    bool isHorizontal() const { return horizontal_; }

    // Each bar's value written at its end (above a vertical bar, beside a
    // horizontal one) with `decimals` decimals and `suffix`; off by default.
    void setValueLabels(bool on, int decimals = 1, const QString& suffix = {});
    bool hasValueLabels() const { return labels_; }
    QString valueLabel(double value) const;

    // Adds a fixed base line to the value extent, so bars stay whole under
    // an automatic range.
    std::optional<ChartRange> extent(bool horizontal) const override;

private:
    int width_ = 20;
    QColor border_{Qt::black};
    bool automaticBase_ = true;
    double base_ = 0.0;
    unsigned group_ = 0;
    bool horizontal_ = false;
    bool labels_ = false;
    int decimals_ = 1;
    QString suffix_;
};

}  // namespace sundrel::widgets
